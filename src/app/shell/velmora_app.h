#pragma once

#include "app/settings/settings_window_host.h"
#include "app/window/main_window.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace velmora {


class StoredSettings;
class TrayIcon;
class Updater;

// The running application: it reads what start-up needs, creates the updater, and
// declares the scenes: the main window, the tray icon and the settings window (made
// when first asked for). Nothing else is made at start. Closing the main window keeps Velmora in the tray when there is one;
// "Open Velmora" then brings a fresh window.
class VelmoraApp : public QObject
{
    Q_OBJECT
public:
    explicit VelmoraApp(StoredSettings &settings, QObject *parent = nullptr);
    ~VelmoraApp() override;

    /// Shows the main window, creating it when there is none.
    void start();
    /// Restores, raises and activates the main window (a new one when it was closed).
    void bringMainWindowToFront();

    bool keepsRunningInTray() const;
    SettingsWindowHost &settingsWindow() { return m_settingsWindow; }

private:
    MainWindow *createMainWindow();

    StoredSettings &m_settings;
    SettingsWindowHost m_settingsWindow;
    Updater *m_updater = nullptr;
    std::unique_ptr<TrayIcon> m_tray;
    QPointer<MainWindow> m_mainWindow;
};

} // namespace velmora
