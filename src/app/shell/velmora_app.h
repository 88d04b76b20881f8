#pragma once

#include "app/commands/command_bus.h"
#include "app/protection/protection_runtime.h"
#include "app/settings/settings_window_host.h"
#include "app/shell/system_platform.h"
#include "app/window/main_window.h"
#include "app/window/window_session.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QSessionManager;

namespace velmora {

class StoredSettings;
class TrayIcon;
class Updater;

// The running application: it reads what start-up needs, creates the updater and the
// command bus it hands to every window, and declares the scenes: the main window, the
// tray icon and the settings window (made when first asked for). Nothing else is made
// at start. Closing the main window keeps Velmora in the tray when there is one; "Open
// Velmora" then shows the same window again, with its review.
class VelmoraApp : public QObject
{
    Q_OBJECT
public:
    explicit VelmoraApp(StoredSettings &settings, QObject *parent = nullptr);
    ~VelmoraApp() override;

    /// Shows the main window, creating it when there is none.
    void start();
    /// Shows, restores, raises and activates the main window (created on first use).
    void bringMainWindowToFront();

    bool keepsRunningInTray() const;
    SettingsWindowHost &settingsWindow() { return m_settingsWindow; }
    CommandBus &commands() { return m_commands; }
    /// Brings the main window to the front and opens the files and folders as one batch,
    /// as Open... does; no paths only bring the window.
    void openPaths(const QStringList &paths);
    MainWindow *mainWindow() const { return m_mainWindow; }
    TrayIcon *tray() const { return m_tray.get(); }

private:
    MainWindow *createMainWindow();
    /// As the desktop session ends: saves the settings, and when that fails asks, if the
    /// session manager lets Velmora ask, whether to try again, end anyway or stay (which
    /// cancels the session's end).
    void saveSettingsAsSessionEnds(QSessionManager &manager);

    StoredSettings &m_settings;
    /// The app-wide commands; it outlives every window.
    CommandBus m_commands;
    /// What the main window stands on; it outlives the window.
    SystemPlatform m_platform;
    /// How the main window's protections run; it outlives both windows.
    ProtectionRuntime m_protectionRuntime;
    SettingsWindowHost m_settingsWindow;
    Updater *m_updater = nullptr;
    std::unique_ptr<TrayIcon> m_tray;
    /// The review and the long-lived controllers of the main window; it outlives the window.
    std::unique_ptr<WindowSession> m_session;
    QPointer<MainWindow> m_mainWindow;
};

} // namespace velmora
