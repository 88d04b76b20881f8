#include "app/settings/protection_settings_tab.h"

#include "app/settings/folder_watch_section.h"
#include "app/settings/protection_status_section.h"

#include <QVBoxLayout>

namespace velmora {

ProtectionSettingsTab::ProtectionSettingsTab(StoredSettings &settings, Services services, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_services(std::move(services))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(18);
    m_status = new ProtectionStatusSection(settings, m_services.captureAllowed);
    connect(m_status, &ProtectionStatusSection::jumpRequested, this, &ProtectionSettingsTab::jumpRequested);
    layout->addWidget(m_status);
    m_folderWatch = new FolderWatchSection(
        settings, {m_services.folders, m_services.notifications, m_services.openNotificationSettings});
    layout->addWidget(m_folderWatch);
    layout->addStretch(1);
}

void ProtectionSettingsTab::refreshOnAppear()
{
    m_status->refresh();
    m_folderWatch->refreshOnAppear();
}

} // namespace velmora
