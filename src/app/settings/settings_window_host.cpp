#include "app/settings/settings_window_host.h"

#include "app/kit/window_placement.h"
#include "app/protection/dbus_notification_center.h"
#include "app/settings/policy_file_chooser.h"

#include <QDesktopServices>

namespace velmora {

SettingsWindowHost::SettingsWindowHost(StoredSettings &settings, CommandBus &commands, DesktopServices &desktop,
                                       const ProtectionRuntime *protectionRuntime)
    : SettingsWindowHost(settings, commands, std::make_unique<QtPolicyFileChooser>(),
                         [](const QUrl &url) { QDesktopServices::openUrl(url); }, DBusNotificationCenter::shared(),
                         desktop, protectionRuntime)
{
}

SettingsWindowHost::SettingsWindowHost(StoredSettings &settings, CommandBus &commands,
                                       std::unique_ptr<PolicyFileChooser> policyFiles,
                                       std::function<void(const QUrl &)> openLink, NotificationCenter &notifications,
                                       DesktopServices &desktop, const ProtectionRuntime *protectionRuntime)
    : m_settings(settings), m_commands(commands), m_policyFiles(std::move(policyFiles)),
      m_openLink(std::move(openLink)),
      m_notifications(notifications), m_desktop(desktop), m_protectionRuntime(protectionRuntime)
{
}

SettingsWindowHost::~SettingsWindowHost()
{
    delete m_window;
}

void SettingsWindowHost::open(const QWidget *over)
{
    if (!m_window) {
        m_window = new SettingsWindow(m_settings, m_commands,
                                      {*m_policyFiles, m_openLink, [] { return true; }, m_notifications, m_desktop,
                                       m_protectionRuntime});
        centreOver(*m_window, over);
    }
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace velmora
