#pragma once

#include <QObject>

#include <functional>

class QMainWindow;
class QMenu;
class QAction;

namespace velmora {

class StoredSettings;

// The main window's menu bar: File, Review, Capture and Help. Items that name an
// app-wide command post it on the CommandBus; the rest call the window's handlers.
// Items are never disabled: the window decides whether a command applies. Every key
// is registered here once.
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

    MainMenus(QMainWindow &window, StoredSettings &settings, Handlers handlers);

    /// Re-reads the capture shortcuts after a change of the stored choices.
    void refreshCaptureShortcuts();
    QAction *action(const QString &objectName) const;

private:
    QMenu *buildFileMenu();
    QMenu *buildReviewMenu();
    QMenu *buildCaptureMenu();
    QMenu *buildHelpMenu();

    QMainWindow &m_window;
    StoredSettings &m_settings;
    Handlers m_handlers;
    QList<QAction *> m_captureActions;
};

} // namespace velmora
