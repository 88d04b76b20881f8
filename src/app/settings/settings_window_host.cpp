#include "app/settings/settings_window_host.h"

#include "app/settings/policy_file_chooser.h"

#include <QDesktopServices>

namespace velmora {

SettingsWindowHost::SettingsWindowHost(StoredSettings &settings)
    : SettingsWindowHost(settings, std::make_unique<QtPolicyFileChooser>(),
                         [](const QUrl &url) { QDesktopServices::openUrl(url); })
{
}

SettingsWindowHost::SettingsWindowHost(StoredSettings &settings, std::unique_ptr<PolicyFileChooser> policyFiles,
                                       std::function<void(const QUrl &)> openLink)
    : m_settings(settings), m_policyFiles(std::move(policyFiles)), m_openLink(std::move(openLink))
{
}

SettingsWindowHost::~SettingsWindowHost()
{
    delete m_window;
}

void SettingsWindowHost::open()
{
    if (!m_window)
        m_window = new SettingsWindow(m_settings, {*m_policyFiles, m_openLink});
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

} // namespace velmora
