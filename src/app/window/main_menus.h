#pragma once

#include <QObject>

#include <functional>

class QMainWindow;
class QMenu;
class QAction;

namespace velmora {

class CommandBus;
class ReviewActions;
class StoredSettings;

// The main window's menu bar: File, Review, Capture and Help. The review's items are
// the window's shared review actions; capture and help items post their app-wide
// command on the bus; the rest call the window's handlers. Items are never disabled:
// the window decides whether a command applies. Every key is registered here once; the
// capture keys follow the stored shortcut choices.
class MainMenus : public QObject
{
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> openImages;
        std::function<void()> openFolder;
        std::function<void()> scanOrRescan;
        std::function<void()> checkForUpdates; ///< Absent: no "Check for Updates..." item.
        std::function<void()> quit;
        std::function<void()> openSettings; ///< Absent: no "Settings…" item.
    };

    MainMenus(QMainWindow &window, StoredSettings &settings, CommandBus &commands, const ReviewActions &reviewActions,
              Handlers handlers);

    QAction *action(const QString &objectName) const;

private:
    QMenu *buildFileMenu();
    QMenu *buildReviewMenu();
    QMenu *buildCaptureMenu();
    QMenu *buildHelpMenu();
    void refreshCaptureShortcuts();

    QMainWindow &m_window;
    StoredSettings &m_settings;
    CommandBus &m_commands;
    const ReviewActions &m_reviewActions;
    Handlers m_handlers;
    QList<QAction *> m_captureActions;
};

} // namespace velmora
