#include "app/settings/capture_output_section.h"

#include "app/kit/velmora_button.h"
#include "app/settings/policy_file_chooser.h"
#include "app/settings/settings_choice_row.h"
#include "core/protection/autoclean_output_settings.h"
#include "core/settings/stored_settings.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace velmora {

namespace {

constexpr int clearMinimumWidth = 88;

/// The stored safety mode's explanation; an unknown or absent one falls back to the
/// older yes/no setting.
QString safetyExplanation(const StoredSettings &settings)
{
    const std::optional<VelmoraAutoCleanSafetyMode> stored =
        fromRawValue<VelmoraAutoCleanSafetyMode>(settings.value(Setting::captureOutputSafetyModeID));
    return description(stored.value_or(
        autoCleanSafetyModeFromLegacy(settings.value(Setting::captureOutputRequiresNoReviewFindings))));
}

} // namespace

CaptureOutputSection::CaptureOutputSection(StoredSettings &settings, Services services, QWidget *parent)
    : SettingsSection(tr("Capture Output"), tr("Choose what Velmora Capture does after a screenshot is scanned. "
                                               "AutoClean can pause for review when findings need a human check."),
                      parent),
      m_settings(settings), m_services(std::move(services))
{
    setObjectName(QStringLiteral("settings-capture-output"));
    m_mode = makeSettingsChoice(QStringLiteral("capture-output-mode-picker"));
    for (const VelmoraCaptureOutputMode mode : allCases<VelmoraCaptureOutputMode>())
        m_mode->addItem(title(mode), rawValue(mode));
    connect(m_mode, &QComboBox::activated, this,
            [this](int index) { m_settings.setValue(Setting::captureOutputModeID, m_mode->itemData(index).toString()); });
    addRow(makeSettingsChoiceRow(tr("Capture destination"), m_mode));

    m_safety = makeSettingsChoice(QStringLiteral("capture-output-safety-mode-picker"));
    for (const VelmoraAutoCleanSafetyMode mode : allCases<VelmoraAutoCleanSafetyMode>())
        m_safety->addItem(title(mode), rawValue(mode));
    connect(m_safety, &QComboBox::activated, this, [this](int index) {
        m_settings.setValue(Setting::captureOutputSafetyModeID, m_safety->itemData(index).toString());
    });
    addRow(makeSettingsChoiceRow(tr("AutoClean mode"), m_safety));

    m_summary = makeSettingsCaption(QString(), QStringLiteral("capture-output-summary"));
    addRow(m_summary);
    addRow(makeSettingsCaption(tr("Velmora Capture creates a temporary local image for scanning, then discards it. "
                                  "Copy and save modes write only the cleaned PNG."),
                               QStringLiteral("capture-output-temporary-copy")));

    auto *choose = makeVelmoraButton(tr("Choose Save Folder"), QStringLiteral("folder.badge.plus"),
                                     VelmoraControlTone::secondary, std::nullopt,
                                     QStringLiteral("capture-output-choose-folder-button"));
    connect(choose, &QPushButton::clicked, this, &CaptureOutputSection::chooseCaptureOutputFolder);
    m_clear = makeVelmoraButton(tr("Clear"), QStringLiteral("xmark.circle"), VelmoraControlTone::destructive,
                                clearMinimumWidth, QStringLiteral("capture-output-clear-folder-button"));
    connect(m_clear, &QPushButton::clicked, this, &CaptureOutputSection::clearCaptureOutputFolder);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(choose);
    buttons->addWidget(m_clear);
    buttons->addStretch(1);
    addRow(buttons);
    m_folderSummary = makeSettingsCaption(QString(), QStringLiteral("capture-output-folder-summary"));
    addRow(m_folderSummary);

    connect(&m_settings, &StoredSettings::changed, this, &CaptureOutputSection::refresh);
    refresh();
}

void CaptureOutputSection::refresh()
{
    const QSignalBlocker blockMode(m_mode);
    const QSignalBlocker blockSafety(m_safety);
    m_mode->setCurrentIndex(m_mode->findData(m_settings.value(Setting::captureOutputModeID)));
    // While no safety mode is stored the picker shows the default one.
    const QString safety = m_settings.value(Setting::captureOutputSafetyModeID);
    m_safety->setCurrentIndex(
        m_safety->findData(safety.isEmpty() ? rawValue(VelmoraAutoCleanSafetyMode::pauseIfUnsure) : safety));
    m_summary->setText(captureOutputSummary());
    m_clear->setEnabled(!m_settings.value(Setting::captureOutputFolderPath).isEmpty());
    m_folderSummary->setText(captureOutputFolderSummary());
}

QString CaptureOutputSection::captureOutputSummary() const
{
    const VelmoraCaptureOutputMode mode =
        AutoCleanOutputCoordinator::outputMode(m_settings.value(Setting::captureOutputModeID))
            .value_or(VelmoraCaptureOutputMode::reviewInVelmora);
    switch (mode) {
    case VelmoraCaptureOutputMode::reviewInVelmora:
        return tr("Captures open in Velmora for review before copy or export.");
    case VelmoraCaptureOutputMode::copyCleanedPNG:
        return tr("Captures can copy a cleaned PNG after scanning. ") + safetyExplanation(m_settings);
    case VelmoraCaptureOutputMode::saveCleanedPNG:
        return tr("Captures can save a cleaned PNG after scanning. Choose a folder below. ") +
               safetyExplanation(m_settings);
    case VelmoraCaptureOutputMode::saveAndCopyCleanedPNG:
        return tr("Captures can save and copy a cleaned PNG after scanning. Choose a folder below. ") +
               safetyExplanation(m_settings);
    }
    return {};
}

QString CaptureOutputSection::captureOutputFolderSummary() const
{
    const QString path = m_settings.value(Setting::captureOutputFolderPath);
    if (path.isEmpty())
        return tr("No auto-save folder selected. Save modes fall back to review until a folder is chosen.");
    const QString name = m_settings.value(Setting::captureOutputFolderDisplayName);
    return tr("Auto-save folder: ") + (name.isEmpty() ? path : name);
}

void CaptureOutputSection::chooseCaptureOutputFolder()
{
    const std::optional<QString> folder = m_services.folders.chooseFolder(
        {tr("Choose Capture Output Folder"), tr("Choose where Velmora saves cleaned PNGs from capture auto-output modes."),
         tr("Use Folder"), m_settings.value(Setting::captureOutputFolderPath), true});
    if (!folder)
        return;
    m_services.showStatus(AutoCleanOutputCoordinator::storeOutputFolder(m_settings, *folder)
                              ? tr("Capture output folder saved.")
                              : tr("Could not save capture output folder access. Choose the folder again."));
}

void CaptureOutputSection::clearCaptureOutputFolder()
{
    AutoCleanOutputCoordinator::clearOutputFolder(m_settings);
    m_services.showStatus(tr("Capture output folder cleared."));
}

} // namespace velmora
