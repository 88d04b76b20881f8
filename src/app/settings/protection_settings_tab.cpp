#include "app/settings/protection_settings_tab.h"

#include "app/settings/capture_output_section.h"
#include "app/settings/capture_shortcuts_section.h"
#include "app/settings/clipboard_protection_section.h"
#include "app/settings/folder_watch_section.h"
#include "app/settings/protection_status_section.h"

#include <QVBoxLayout>

namespace velmora {

ProtectionSettingsTab::ProtectionSettingsTab(StoredSettings &settings, const Services &services, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(18);
    m_status = new ProtectionStatusSection(settings, services.captureAllowed, services.runtime);
    connect(m_status, &ProtectionStatusSection::jumpRequested, this, &ProtectionSettingsTab::jumpRequested);
    layout->addWidget(m_status);
    m_folderWatch = new FolderWatchSection(
        settings, {services.folders, services.notifications, services.openNotificationSettings, services.runtime});
    layout->addWidget(m_folderWatch);
    m_clipboard = new ClipboardProtectionSection(settings, services.runtime);
    layout->addWidget(m_clipboard);
    m_captureOutput = new CaptureOutputSection(settings, {services.folders, services.showStatus});
    layout->addWidget(m_captureOutput);
    layout->addWidget(new CaptureShortcutsSection(settings));
    layout->addStretch(1);
}

void ProtectionSettingsTab::refreshOnAppear()
{
    m_status->refresh();
    m_folderWatch->refreshOnAppear();
}

} // namespace velmora
