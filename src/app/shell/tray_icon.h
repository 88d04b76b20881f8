#pragma once

#include <QObject>

#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace velmora {

class CommandBus;

// The tray icon, shown when the desktop has a system tray: capture commands, a way
// back to the main window, the settings window, and Quit. Capture items post the app-wide capture command
// on `commands`.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> openMainWindow;
        std::function<void()> openSettings;
        std::function<void()> quit;
    };

    TrayIcon(CommandBus &commands, Handlers handlers, QObject *parent = nullptr);
    ~TrayIcon() override;

    /// Shows the icon when a tray is available; false when there is none.
    bool show();
    bool isVisible() const;
    QMenu *menu() const { return m_menu; }

private:
    Handlers m_handlers;
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_icon = nullptr;
};

} // namespace velmora
