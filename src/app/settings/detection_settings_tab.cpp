#include "app/settings/detection_settings_tab.h"

#include "app/commands/command_bus.h"
#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/kit/symbol_icon.h"
#include "app/settings/detector_category_disposition_control.h"
#include "app/settings/settings_section.h"
#include "app/settings/settings_text_editor.h"
#include "core/policy/redaction_policy_catalog.h"
#include "core/settings/stored_settings.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QJsonDocument>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace velmora {

namespace {

const QString savedText = QStringLiteral("Saved locally. Current image re-scans automatically when open.");
const QString rescannedText = QStringLiteral("Saved - current image re-scanned.");

PaletteColor sourceColor(PolicySource source)
{
    if (source == PolicySource::imported)
        return look::blue;
    return look::secondary;
}

} // namespace

DetectionSettingsTab::DetectionSettingsTab(StoredSettings &settings, CommandBus &commands, QWidget *parent)
    : QWidget(parent), m_settings(settings), m_commands(commands), m_seen(DetectionSettingsValues::load(settings))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 10, 20, 10);
    layout->setSpacing(18);
    layout->addWidget(buildPresetSection());
    layout->addWidget(buildCustomSection());
    layout->addWidget(buildAllowlistSection());
    layout->addWidget(buildDetectorsSection());
    layout->addStretch(1);

    refresh();
    connect(&m_settings, &StoredSettings::changed, this, &DetectionSettingsTab::onStoredSettingChanged);
    m_commands.observe(commands::velmoraCustomDetectionSettingsRescanCompleted, this,
                       [this] { setStatusText(rescannedText); });
}

QWidget *DetectionSettingsTab::buildPresetSection()
{
    auto *section = new SettingsSection(
        tr("Policy Preset"), tr("Choose a local policy preset for common sharing contexts. Company-confidential "
                                "policies only match visible labels or configured terms."));
    section->setObjectName(QStringLiteral("settings-top"));

    m_presetPicker = new QComboBox;
    m_presetPicker->setObjectName(QStringLiteral("policy-preset-picker"));
    m_presetPicker->setAccessibleName(tr("Share preset"));
    m_presetPicker->addItem(tr("Current defaults"), QString());
    for (const RedactionPolicyPreset &preset : RedactionPolicyCatalog::presets())
        m_presetPicker->addItem(preset.title, rawValue(preset.id));
    connect(m_presetPicker, &QComboBox::activated, this, [this](int index) {
        m_settings.setValue(Setting::policyPresetID, m_presetPicker->itemData(index).toString());
    });
    auto *pickerRow = new QHBoxLayout;
    pickerRow->addWidget(makeTextLabel(tr("Share preset"), look::font(look::TextStyle::body), look::primary));
    pickerRow->addStretch(1);
    pickerRow->addWidget(m_presetPicker);
    section->addRow(pickerRow);

    m_sourceLabel = new QWidget;
    m_sourceLabel->setObjectName(QStringLiteral("policy-source-label"));
    m_sourceIcon = new QLabel;
    m_sourceText = makeTextLabel(QString(), look::font(look::TextStyle::caption, QFont::Medium), look::secondary);
    auto *sourceLayout = new QHBoxLayout(m_sourceLabel);
    sourceLayout->setContentsMargins(0, 0, 0, 0);
    sourceLayout->setSpacing(4);
    sourceLayout->addWidget(m_sourceIcon);
    sourceLayout->addWidget(m_sourceText);
    sourceLayout->addStretch(1);
    section->addRow(m_sourceLabel);

    m_presetSummary = makeSettingsCaption(QString(), QStringLiteral("policy-preset-summary"));
    section->addRow(m_presetSummary);
    section->addRow(makeSettingsCaption(tr("Company-confidential policies match visible labels or configured terms and "
                                           "regexes. They do not provide semantic classification."),
                                        QStringLiteral("policy-claim-boundary-copy")));
    section->addRow(makeSettingsCaption(tr("Policy presets group detectors into Secrets, Personal data, Financial data, "
                                           "Government IDs, Company confidential, Visual content, and Custom policy."),
                                        QStringLiteral("policy-pack-summary-copy")));
    return section;
}

QWidget *DetectionSettingsTab::buildCustomSection()
{
    auto *section = new SettingsSection(
        tr("Custom Redactions"),
        tr("Add one term or regex per line. Open images re-scan automatically after detection settings change."));
    m_termsEditor = new SettingsTextEditor(QStringLiteral("Terms"), QStringLiteral("custom-terms-editor"));
    connect(m_termsEditor, &SettingsTextEditor::textEdited, this,
            [this](const QString &text) { m_settings.setValue(Setting::customTermsText, text); });
    section->addRow(m_termsEditor);
    m_regexesEditor = new SettingsTextEditor(QStringLiteral("Regexes"), QStringLiteral("custom-regexes-editor"));
    connect(m_regexesEditor, &SettingsTextEditor::textEdited, this,
            [this](const QString &text) { m_settings.setValue(Setting::customRegexesText, text); });
    section->addRow(m_regexesEditor);

    m_invalidRegexes = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::orange, true);
    m_invalidRegexes->setObjectName(QStringLiteral("invalid-regexes-note"));
    section->addRow(m_invalidRegexes);
    m_status = makeTextLabel(QString(), look::font(look::TextStyle::caption), look::green, true);
    m_status->setObjectName(QStringLiteral("detection-settings-status"));
    m_status->hide();
    section->addRow(m_status);
    return section;
}

QWidget *DetectionSettingsTab::buildAllowlistSection()
{
    auto *section = new SettingsSection(
        tr("Allowlist"), tr("Known-safe strings suppress matching default and custom detections on this computer."));
    m_allowlistEditor = new SettingsTextEditor(QStringLiteral("Known-Safe Strings"), QStringLiteral("allowlist-editor"));
    connect(m_allowlistEditor, &SettingsTextEditor::textEdited, this,
            [this](const QString &text) { m_settings.setValue(Setting::allowlistText, text); });
    section->addRow(m_allowlistEditor);
    return section;
}

QWidget *DetectionSettingsTab::buildDetectorsSection()
{
    auto *section = new SettingsSection(
        tr("Built-in Detectors"), tr("Set detector families to Redact, Review, or Off for future scans. Custom terms, "
                                     "regexes, and allowlists stay local to this computer."));
    for (const DetectorCategory category : allCases<DetectorCategory>())
        section->addRow(buildCategoryRow(category));

    auto *disclosure = new QToolButton;
    disclosure->setObjectName(QStringLiteral("advanced-detector-details"));
    disclosure->setText(tr("Advanced detector details"));
    disclosure->setCheckable(true);
    disclosure->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    disclosure->setArrowType(Qt::RightArrow);
    disclosure->setAutoRaise(true);
    auto *details = new QWidget;
    auto *detailsLayout = new QVBoxLayout(details);
    detailsLayout->setContentsMargins(0, 0, 0, 0);
    detailsLayout->setSpacing(8);
    detailsLayout->addWidget(makeSettingsCaption(
        tr("Built-in detectors use local OCR text, local face and code detection, and deterministic patterns. They do "
           "not classify screenshot meaning semantically."),
        QStringLiteral("advanced-detector-details-local")));
    detailsLayout->addWidget(makeSettingsCaption(
        tr("High-entropy strings are noisy by nature. Velmora downgrades generic matches to Check and suppresses "
           "common deployment tags, branch names, labels, and paths unless strong secret context is visible."),
        QStringLiteral("advanced-detector-details-entropy")));
    details->hide();
    connect(disclosure, &QToolButton::toggled, this, [disclosure, details](bool open) {
        disclosure->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        details->setVisible(open);
    });
    section->addRow(disclosure);
    section->addRow(details);
    return section;
}

QWidget *DetectionSettingsTab::buildCategoryRow(DetectorCategory category)
{
    auto *row = new QWidget;
    row->setObjectName(QStringLiteral("detector-category-row-") + rawValue(category));
    row->setAccessibleName(title(category));
    auto *texts = new QVBoxLayout;
    texts->setSpacing(2);
    texts->addWidget(makeTextLabel(title(category), look::font(look::TextStyle::body), look::primary));
    texts->addWidget(makeTextLabel(summary(category), look::font(look::TextStyle::caption), look::secondary, true));
    auto *control = new DetectorCategoryDispositionControl(category);
    connect(control, &DetectorCategoryDispositionControl::dispositionChosen, this,
            [this, category](RedactionPolicyDisposition disposition) { chooseDisposition(category, disposition); });
    m_dispositionControls.insert(category, control);
    auto *top = new QHBoxLayout;
    top->addLayout(texts, 1);
    top->addWidget(control, 0, Qt::AlignTop);

    QLabel *help = makeTextLabel(QString(), look::font(look::TextStyle::caption2, QFont::Normal), look::secondary);
    m_dispositionHelp.insert(category, help);
    auto *layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addLayout(top);
    layout->addWidget(help);
    return row;
}

void DetectionSettingsTab::onStoredSettingChanged()
{
    refresh();
    // A changed text or preset, whoever wrote it, is announced: the watched values of
    // the form. Writing an equal value is no change.
    const DetectionSettingsValues now = DetectionSettingsValues::load(m_settings);
    const bool changed = now.customTermsText != m_seen.customTermsText
        || now.customRegexesText != m_seen.customRegexesText || now.allowlistText != m_seen.allowlistText
        || now.policyPresetID != m_seen.policyPresetID;
    m_seen = now;
    if (changed)
        saveDetectionSettings();
}

void DetectionSettingsTab::refresh()
{
    const PolicyLock lock = storedPolicyLock(m_settings);
    const QString presetID = m_settings.value(Setting::policyPresetID);
    {
        const QSignalBlocker blocker(m_presetPicker);
        m_presetPicker->setCurrentIndex(m_presetPicker->findData(presetID));
    }
    m_presetPicker->setEnabled(!lock.locks(PolicyField::policyPreset));
    const std::optional<RedactionPolicyPresetID> preset = presetIDFromIdentifier(presetID);
    m_presetSummary->setText(preset ? RedactionPolicyCatalog::preset(*preset).summary
                                    : tr("Use Velmora's built-in detector defaults without preset overrides."));
    refreshPolicySource();

    m_termsEditor->setText(m_settings.value(Setting::customTermsText));
    m_termsEditor->setLocked(lock.locks(PolicyField::customTerms));
    m_regexesEditor->setText(m_settings.value(Setting::customRegexesText));
    m_regexesEditor->setLocked(lock.locks(PolicyField::customRegexes));
    m_allowlistEditor->setText(m_settings.value(Setting::allowlistText));
    m_allowlistEditor->setLocked(lock.locks(PolicyField::allowlist));
    const QStringList invalid = storedCustomConfiguration(m_settings).invalidRegexes();
    m_invalidRegexes->setText(tr("Invalid regexes are ignored: ") + invalid.join(QStringLiteral(", ")));
    m_invalidRegexes->setVisible(!invalid.isEmpty());

    const DetectorCategoryPreferences preferences =
        decodeDetectorCategoryPreferences(m_settings.value(Setting::detectorCategoryPreferencesData));
    for (auto it = m_dispositionControls.begin(); it != m_dispositionControls.end(); ++it) {
        const RedactionPolicyDisposition shown = preferences.disposition(it.key()).value_or(defaultDisposition(it.key()));
        it.value()->setDisposition(shown);
        m_dispositionHelp.value(it.key())->setText(helpText(shown));
    }
}

void DetectionSettingsTab::refreshPolicySource()
{
    // Only the two exact stored texts show a label; "local" and anything else show none.
    const QString stored = m_settings.value(Setting::policySourceID);
    const std::optional<PolicySource> source = fromRawValue<PolicySource>(stored);
    const bool shown = source && *source != PolicySource::local;
    m_sourceLabel->setVisible(shown);
    if (!shown)
        return;
    const bool managed = *source == PolicySource::managed;
    const PaletteColor color = sourceColor(*source);
    const QString text = managed ? tr("Managed by team policy") : tr("Imported policy");
    m_sourceText->setText(text);
    look::tintText(m_sourceText, color);
    m_sourceLabel->setAccessibleName(text);
    const int edge = QFontInfo(m_sourceText->font()).pixelSize();
    m_sourceIcon->setPixmap(SymbolIcon::pixmap(managed ? QStringLiteral("lock.shield")
                                                       : QStringLiteral("square.and.arrow.down"),
                                               edge, color(palette()), devicePixelRatioF()));
}

void DetectionSettingsTab::chooseDisposition(DetectorCategory category, RedactionPolicyDisposition disposition)
{
    DetectorCategoryPreferences preferences =
        decodeDetectorCategoryPreferences(m_settings.value(Setting::detectorCategoryPreferencesData));
    preferences.setDisposition(disposition, category);
    const QByteArray data = QJsonDocument(preferences.toJson()).toJson(QJsonDocument::Compact);
    m_settings.setValue(Setting::detectorCategoryPreferencesData, data);
    saveDetectionSettings(data);
}

void DetectionSettingsTab::saveDetectionSettings(const std::optional<QByteArray> &preferencesOverride)
{
    setStatusText(savedText);
    DetectionSettingsValues values = DetectionSettingsValues::load(m_settings);
    if (preferencesOverride)
        values.detectorCategoryPreferencesData = *preferencesOverride;
    m_commands.post(commands::velmoraCustomDetectionSettingsDidChange, std::optional(values));
}

QString DetectionSettingsTab::statusText() const
{
    return m_status->text();
}

void DetectionSettingsTab::setStatusText(const QString &text)
{
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
}

void DetectionSettingsTab::clearEditorFocus()
{
    for (SettingsTextEditor *editor : {m_termsEditor, m_regexesEditor, m_allowlistEditor}) {
        if (editor->input()->hasFocus())
            editor->input()->clearFocus();
    }
}

} // namespace velmora
