#include "app/settings/capture_shortcuts_section.h"

#include "app/kit/look.h"
#include "app/kit/palette_tint.h"
#include "app/settings/settings_choice_row.h"
#include "core/protection/capture_shortcut_settings.h"
#include "core/settings/stored_settings.h"

#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

#include <algorithm>

namespace velmora {

namespace {

/// The modes in the order the section lists them.
constexpr VelmoraCaptureMode listedModes[] = {VelmoraCaptureMode::area, VelmoraCaptureMode::window,
                                              VelmoraCaptureMode::screen};

} // namespace

CaptureShortcutsSection::CaptureShortcutsSection(StoredSettings &settings, QWidget *parent)
    : SettingsSection(tr("Capture Shortcuts"), tr("Configure Velmora-owned global shortcuts for safer capture. "
                                                  "Velmora does not intercept the desktop's native Print Screen "
                                                  "shortcuts."),
                      parent),
      m_settings(settings)
{
    setObjectName(QStringLiteral("settings-capture-shortcuts"));
    addRow(makeSettingsCaption(tr("Defaults: Alt-Shift-1 captures an area, Alt-Shift-2 captures a window, and "
                                  "Alt-Shift-3 captures the screen. Change or disable each shortcut below."),
                               QStringLiteral("capture-shortcut-defaults-copy")));
    for (const VelmoraCaptureMode mode : listedModes) {
        QComboBox *picker = makeSettingsChoice(QStringLiteral("capture-shortcut-picker-") + rawValue(mode));
        for (const VelmoraCaptureShortcutChoice choice : allCases<VelmoraCaptureShortcutChoice>())
            picker->addItem(captureShortcutChoiceInfo(choice).title, rawValue(choice));
        connect(picker, &QComboBox::activated, this,
                [this, picker, mode](int index) { storeShortcutChoice(picker->itemData(index).toString(), mode); });
        addRow(makeSettingsChoiceRow(QStringLiteral("Capture ") + rawValue(mode), picker));
        m_pickers.insert(mode, picker);
    }
    m_summary = makeSettingsCaption(QString(), QStringLiteral("capture-shortcut-summary"));
    addRow(m_summary);
    m_registration = makeSettingsCaption(QString(), QStringLiteral("capture-shortcut-registration-status"));
    addRow(m_registration);

    connect(&m_settings, &StoredSettings::changed, this, &CaptureShortcutsSection::refresh);
    refresh();
}

void CaptureShortcutsSection::storeShortcutChoice(const QString &rawValue, VelmoraCaptureMode mode)
{
    const VelmoraCaptureShortcutChoice choice =
        fromRawValue<VelmoraCaptureShortcutChoice>(rawValue).value_or(VelmoraCaptureShortcutChoice::disabled);
    m_settings.setValue(captureShortcutSetting(mode), velmora::rawValue(choice));
    saveCaptureShortcuts();
}

void CaptureShortcutsSection::saveCaptureShortcuts()
{
    const bool duplicates = VelmoraCaptureShortcutSettings::current(m_settings).hasConflicts();
    m_settings.setValue(Setting::captureShortcutRegistrationStatus,
                        duplicates ? tr("Resolve duplicate shortcuts before Velmora can register them globally.")
                                   : tr("Shortcut settings saved."));
}

QString CaptureShortcutsSection::duplicateShortcutMessage() const
{
    const QSet<VelmoraCaptureShortcutChoice> duplicates =
        VelmoraCaptureShortcutSettings::current(m_settings).duplicateChoices();
    if (duplicates.isEmpty())
        return tr("Defaults are Alt-Shift-1 for area, Alt-Shift-2 for window, and Alt-Shift-3 for screen. Menu bar "
                  "capture remains available if shortcuts are disabled.");
    QStringList titles;
    for (const VelmoraCaptureShortcutChoice choice : duplicates)
        titles.append(captureShortcutChoiceInfo(choice).title);
    std::sort(titles.begin(), titles.end());
    return tr("Duplicate shortcut: %1. Pick a unique shortcut for each enabled capture mode.")
        .arg(titles.join(QStringLiteral(", ")));
}

void CaptureShortcutsSection::refresh()
{
    const VelmoraCaptureShortcutSettings current = VelmoraCaptureShortcutSettings::current(m_settings);
    for (auto it = m_pickers.cbegin(); it != m_pickers.cend(); ++it) {
        const QSignalBlocker block(it.value());
        it.value()->setCurrentIndex(it.value()->findData(rawValue(current.choice(it.key()))));
    }
    const PaletteColor color = current.hasConflicts() ? PaletteColor(look::orange) : PaletteColor(look::secondary);
    m_summary->setText(duplicateShortcutMessage());
    look::tintText(m_summary, color);
    const QString registration = m_settings.value(Setting::captureShortcutRegistrationStatus);
    m_registration->setText(registration);
    m_registration->setVisible(!registration.isEmpty());
    look::tintText(m_registration, color);
}

} // namespace velmora
