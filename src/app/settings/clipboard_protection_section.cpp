#include "app/settings/clipboard_protection_section.h"

#include "app/protection/protection_runtime.h"
#include "app/settings/settings_choice_row.h"
#include "core/protection/clipboard_protection_configuration.h"
#include "core/settings/stored_settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace velmora {

ClipboardProtectionSection::ClipboardProtectionSection(StoredSettings &settings, const ProtectionRuntime *runtime,
                                                       QWidget *parent)
    : SettingsSection(tr("Clipboard Protection"), tr("Clipboard Protection scans image clipboard changes only and uses "
                                                     "the same AutoClean safety modes as Velmora Capture."),
                      parent),
      m_settings(settings), m_runtime(runtime)
{
    setObjectName(QStringLiteral("settings-clipboard-protection"));
    m_toggle = new QCheckBox(tr("Monitor clipboard images"));
    m_toggle->setObjectName(QStringLiteral("clipboard-protection-enable-toggle"));
    connect(m_toggle, &QCheckBox::clicked, this, &ClipboardProtectionSection::setClipboardProtectionEnabled);
    addRow(m_toggle);

    m_mode = makeSettingsChoice(QStringLiteral("clipboard-protection-mode-picker"));
    for (const ClipboardProtectionReplacementMode mode : selectableReplacementModes())
        m_mode->addItem(title(mode), rawValue(mode));
    connect(m_mode, &QComboBox::activated, this, &ClipboardProtectionSection::chooseMode);
    addRow(makeSettingsChoiceRow(tr("AutoClean mode"), m_mode));

    addRow(makeSettingsCaption(tr("Image-only. Velmora checks whether the clipboard contains a supported image and "
                                  "never monitors text clipboard contents by default."),
                               QStringLiteral("clipboard-protection-boundary-copy")));
    m_summary = makeSettingsCaption(QString(), QStringLiteral("clipboard-protection-summary"));
    addRow(m_summary);
    m_status = makeSettingsStatusLine(QStringLiteral("clipboard-protection-status"));
    addRow(m_status);

    connect(&m_settings, &StoredSettings::changed, this, &ClipboardProtectionSection::refresh);
    if (m_runtime)
        connect(m_runtime, &ProtectionRuntime::changed, this, &ClipboardProtectionSection::refresh);
    refresh();
}

void ClipboardProtectionSection::refresh()
{
    const bool on = m_settings.value(Setting::isClipboardProtectionEnabled);
    const QSignalBlocker blockToggle(m_toggle);
    const QSignalBlocker blockMode(m_mode);
    m_toggle->setChecked(on);
    m_mode->setCurrentIndex(m_mode->findData(m_settings.value(Setting::clipboardReplacementModeID)));
    m_mode->setEnabled(on);
    m_summary->setText(clipboardProtectionSummary());
    setSettingsStatus(m_status, haltSentence().value_or(m_message));
}

std::optional<QString> ClipboardProtectionSection::haltSentence() const
{
    if (!m_runtime || !m_settings.value(Setting::isClipboardProtectionEnabled))
        return std::nullopt;
    if (const std::optional<ProtectionHalt> &halt = m_runtime->clipboardGuardHalt())
        return halt->detail;
    return std::nullopt;
}

QString ClipboardProtectionSection::statusText() const
{
    return m_status->text();
}

void ClipboardProtectionSection::setClipboardProtectionEnabled(bool on)
{
    m_message = on ? tr("Clipboard image protection enabled.") : tr("Clipboard image protection stopped.");
    m_settings.setValue(Setting::isClipboardProtectionEnabled, on);
    refresh();
}

void ClipboardProtectionSection::chooseMode(int index)
{
    const QString chosen = m_mode->itemData(index).toString();
    if (chosen == m_settings.value(Setting::clipboardReplacementModeID))
        return;
    m_settings.setValue(Setting::clipboardReplacementModeID, chosen);
}

QString ClipboardProtectionSection::clipboardProtectionSummary() const
{
    if (!m_settings.value(Setting::isClipboardProtectionEnabled))
        return tr("Off. Clipboard images are not scanned unless you paste them into Velmora.");
    const ClipboardProtectionReplacementMode mode =
        selectableEquivalent(storedReplacementMode(m_settings.value(Setting::clipboardReplacementModeID)));
    return (haltSentence() ? tr("Stopped: ") : tr("Active: ")) + title(mode) + QStringLiteral(". ") + description(mode);
}

} // namespace velmora
