#pragma once

#include "app/settings/settings_section.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace velmora {

class StoredSettings;

// "Clipboard Protection": switches the clipboard image guard and picks its AutoClean
// mode. Each change posts velmoraClipboardProtectionSettingsDidChange once; showing
// the stored values posts nothing. An older stored mode selects no row and is
// summarised as the mode it behaves like.
class ClipboardProtectionSection : public SettingsSection
{
    Q_OBJECT
public:
    explicit ClipboardProtectionSection(StoredSettings &settings, QWidget *parent = nullptr);

    void setClipboardProtectionEnabled(bool on);
    /// "Off. …" or "Active: " with the effective mode's title and explanation.
    QString clipboardProtectionSummary() const;

private:
    void refresh();
    void chooseMode(int index);
    void postChange();

    StoredSettings &m_settings;
    QCheckBox *m_toggle = nullptr;
    QComboBox *m_mode = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_status = nullptr;
};

} // namespace velmora
