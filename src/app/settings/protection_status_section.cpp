#include "app/settings/protection_status_section.h"

#include "app/protection/protection_runtime.h"
#include "app/settings/protection_status_row.h"
#include "core/protection/protection_status_input.h"
#include "core/settings/stored_settings.h"

#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

ProtectionRailTarget protectionRailTarget(ScreenshotProtectionRail rail)
{
    switch (rail) {
    case ScreenshotProtectionRail::velmoraCapture:
        return {SettingsTab::protection, QStringLiteral("settings-capture-output")};
    case ScreenshotProtectionRail::folderWatch:
        return {SettingsTab::protection, QStringLiteral("settings-folder-watch")};
    case ScreenshotProtectionRail::clipboardGuard:
        return {SettingsTab::protection, QStringLiteral("settings-clipboard-protection")};
    case ScreenshotProtectionRail::policy: return {SettingsTab::detection, QStringLiteral("settings-top")};
    }
    return {SettingsTab::protection, QStringLiteral("settings-top")};
}

ProtectionStatusSection::ProtectionStatusSection(StoredSettings &settings, std::function<bool()> captureAllowed,
                                                 const ProtectionRuntime *runtime, QWidget *parent)
    : SettingsSection(tr("Screenshot Protection"), tr("See the local protection pipeline for screenshots as they are "
                                                      "captured, saved, copied, or pasted."),
                      parent),
      m_settings(settings), m_captureAllowed(std::move(captureAllowed)), m_runtime(runtime)
{
    setObjectName(QStringLiteral("settings-top"));
    addRow(makeSettingsCaption(tr("One local pipeline for screenshots: Capture, Folder Watch, Clipboard Guard, and "
                                  "Policy. Use it before screenshots leave your computer for AI chat, Slack, email, "
                                  "tickets, or docs."),
                               QStringLiteral("screenshot-protection-ai-copy")));
    auto *stack = new QWidget;
    stack->setObjectName(QStringLiteral("screenshot-protection-status-section"));
    auto *rows = new QVBoxLayout(stack);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(8);
    for (const ScreenshotProtectionRail rail : allCases<ScreenshotProtectionRail>()) {
        auto *row = new ProtectionStatusRow(rail);
        connect(row, &ProtectionStatusRow::actionTriggered, this, &ProtectionStatusSection::jumpRequested);
        rows->addWidget(row);
        m_rows.append(row);
    }
    addRow(stack);
    connect(&m_settings, &StoredSettings::changed, this, &ProtectionStatusSection::refresh);
    if (m_runtime)
        connect(m_runtime, &ProtectionRuntime::changed, this, &ProtectionStatusSection::refresh);
    refresh();
}

void ProtectionStatusSection::refresh()
{
    ScreenshotProtectionStatusInput input = protectionStatusInput(m_settings, m_captureAllowed());
    if (m_runtime) {
        input.folderWatchHalt = m_runtime->folderWatchHalt();
        input.clipboardGuardHalt = m_runtime->clipboardGuardHalt();
    }
    const QList<ScreenshotProtectionStatusItem> items = ScreenshotProtectionStatusBuilder::items(input);
    // The builder answers every rail, in rail order: the rows were made in that order.
    for (qsizetype i = 0; i < items.size() && i < m_rows.size(); ++i)
        m_rows[i]->setItem(items[i]);
}

} // namespace velmora
