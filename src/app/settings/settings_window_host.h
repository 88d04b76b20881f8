#pragma once

#include "app/settings/settings_window.h"

#include <QPointer>

#include <memory>

namespace velmora {

// Keeps the one settings window: made on demand, raised when already open, gone when
// closed (so it opens again fresh, on Detection at the top). The application owns one
// host; the menu item, the tray and the help centre open the window through it.
class SettingsWindowHost
{
public:
    /// Over Qt's file dialogs, the desktop's link opener and notification service,
    /// `desktop`, and how the main window's protections run; the window's app-wide
    /// commands travel on `commands`.
    SettingsWindowHost(StoredSettings &settings, CommandBus &commands, DesktopServices &desktop,
                       const ProtectionRuntime *protectionRuntime = nullptr);
    SettingsWindowHost(StoredSettings &settings, CommandBus &commands, std::unique_ptr<PolicyFileChooser> policyFiles,
                       std::function<void(const QUrl &)> openLink,
                       NotificationCenter &notifications = NotificationCenter::none(),
                       DesktopServices &desktop = DesktopServices::none(),
                       const ProtectionRuntime *protectionRuntime = nullptr);
    ~SettingsWindowHost();

    /// Shows, raises and activates the window, making it when there is none; a new one
    /// stands centred over `over`'s window (the main window), else over the screen.
    void open(const QWidget *over = nullptr);
    SettingsWindow *window() const { return m_window; }
    PolicyFileChooser &policyFiles() const { return *m_policyFiles; }

private:
    StoredSettings &m_settings;
    CommandBus &m_commands;
    std::unique_ptr<PolicyFileChooser> m_policyFiles;
    std::function<void(const QUrl &)> m_openLink;
    NotificationCenter &m_notifications;
    DesktopServices &m_desktop;
    const ProtectionRuntime *m_protectionRuntime;
    QPointer<SettingsWindow> m_window;
};

} // namespace velmora
