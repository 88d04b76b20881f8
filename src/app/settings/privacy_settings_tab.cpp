#include "app/settings/privacy_settings_tab.h"

#include "app/kit/app_version.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/velmora_button.h"
#include "app/settings/policy_file_chooser.h"
#include "app/settings/safe_share_history_row.h"
#include "app/settings/settings_section.h"
#include "core/history/safe_share_history_store.h"
#include "core/settings/policy_transfer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace velmora {

namespace {

constexpr int shownHistoryRecords = 8;

} // namespace

PrivacySettingsTab::PrivacySettingsTab(StoredSettings &settings, PolicyFileChooser &chooser,
                                       std::function<void()> imported, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_chooser(chooser), m_imported(std::move(imported))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(18);
    layout->addWidget(buildPortabilitySection());
    layout->addWidget(buildHistorySection());
    layout->addStretch(1);
    reload();
}

QWidget *PrivacySettingsTab::buildPortabilitySection()
{
    auto *section = new SettingsSection(tr("Portability"), tr("Export and import policy settings only. Images, OCR "
                                                              "text, matched text, and history are never included."));
    section->setObjectName(QStringLiteral("settings-top"));
    auto *exportButton = makeVelmoraButton(tr("Export Settings"), QStringLiteral("square.and.arrow.up"),
                                           VelmoraControlTone::secondary, std::nullopt,
                                           QStringLiteral("export-custom-settings-button"));
    connect(exportButton, &QPushButton::clicked, this, &PrivacySettingsTab::exportPolicySettings);
    auto *importButton = makeVelmoraButton(tr("Import Settings"), QStringLiteral("square.and.arrow.down"),
                                           VelmoraControlTone::secondary, std::nullopt,
                                           QStringLiteral("import-custom-settings-button"));
    connect(importButton, &QPushButton::clicked, this, &PrivacySettingsTab::importPolicySettings);
    m_status = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::secondary);
    m_status->setObjectName(QStringLiteral("custom-settings-status"));

    auto *row = new QHBoxLayout;
    row->setSpacing(10);
    row->addWidget(exportButton);
    row->addWidget(importButton);
    row->addWidget(m_status, 1);
    section->addRow(row);
    section->addRow(makeSettingsCaption(tr("Stored locally on this computer. Export writes policy, terms, regexes, and "
                                           "allowlist only. History and source images are never included."),
                                        QStringLiteral("settings-portability-boundary-copy")));
    return section;
}

QWidget *PrivacySettingsTab::buildHistorySection()
{
    auto *section = new SettingsSection(
        tr("Safe-Share History"), tr("History stores local metadata only: action, source type, counts, timestamp, "
                                     "policy summary when available, and optional output path."));
    m_historyEmpty = makeTextLabel(tr("No local history yet."), look::font(look::TextStyle::caption), look::secondary);
    m_historyEmpty->setObjectName(QStringLiteral("safe-share-history-empty"));
    section->addRow(m_historyEmpty);
    m_historyList = new QWidget;
    m_historyList->setObjectName(QStringLiteral("safe-share-history-list"));
    m_historyRows = new QVBoxLayout(m_historyList);
    m_historyRows->setContentsMargins(0, 0, 0, 0);
    m_historyRows->setSpacing(8);
    section->addRow(m_historyList);

    m_clearHistory = makeVelmoraButton(tr("Clear History"), QStringLiteral("trash"), VelmoraControlTone::destructive,
                                       std::nullopt, QStringLiteral("clear-safe-share-history-button"));
    connect(m_clearHistory, &QPushButton::clicked, this, &PrivacySettingsTab::clearSafeShareHistory);
    auto *row = new QHBoxLayout;
    row->addWidget(m_clearHistory, 0, Qt::AlignTop);
    row->addWidget(makeSettingsCaption(
                       tr("History keeps local metadata only: timestamp, source type, action, counts, policy source or "
                          "preset when available, and the optional cleaned-output path. It never keeps images, "
                          "recognized text, matched sensitive text, clipboard image data, or cleaned exports. Clearing "
                          "it does not change policies, source images, or exported files."),
                       QStringLiteral("safe-share-history-boundary-copy")),
                   1);
    section->addRow(row);
    return section;
}

void PrivacySettingsTab::exportPolicySettings()
{
    const std::optional<QString> path = m_chooser.chooseExportDestination();
    if (!path)
        return;
    setStatusText(exportPolicySettingsFile(m_settings, *path, appVersionString())
                      ? tr("Exported.")
                      : tr("Export failed. No file was written."));
}

void PrivacySettingsTab::importPolicySettings()
{
    const std::optional<QString> path = m_chooser.chooseImportFile();
    if (!path)
        return;
    if (!importPolicySettingsFile(m_settings, *path)) {
        setStatusText(tr("Import failed. Settings were not changed."));
        return;
    }
    setStatusText(tr("Imported."));
    m_imported();
}

void PrivacySettingsTab::clearSafeShareHistory()
{
    velmora::clearSafeShareHistory(m_settings);
    reload();
}

void PrivacySettingsTab::reload()
{
    while (QLayoutItem *item = m_historyRows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const SafeShareHistoryStore store = SafeShareHistoryStore::load(m_settings);
    for (const SafeShareHistoryRecord &record : store.records.first(std::min<qsizetype>(store.records.size(), shownHistoryRecords)))
        m_historyRows->addWidget(new SafeShareHistoryRow(record));
    const bool empty = store.records.isEmpty();
    m_historyEmpty->setVisible(empty);
    m_historyList->setVisible(!empty);
    m_clearHistory->setEnabled(!empty);
}

QString PrivacySettingsTab::statusText() const
{
    return m_status->text();
}

void PrivacySettingsTab::setStatusText(const QString &text)
{
    m_status->setText(text);
}

} // namespace velmora
