#pragma once

#include "app/settings/settings_section.h"

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;

namespace velmora {

class ProtectionRuntime;
class StoredSettings;

// "Clipboard Protection": switches the clipboard image guard and picks its AutoClean
// mode; the main window restarts its guard after each stored change, and showing the
// stored values changes nothing. An older stored mode selects no row and is
// summarised as the mode it behaves like. A guard switched on that does not run says
// why.
class ClipboardProtectionSection : public SettingsSection
{
    Q_OBJECT
public:
    /// `runtime`, when given, tells whether the guard switched on runs.
    explicit ClipboardProtectionSection(StoredSettings &settings, const ProtectionRuntime *runtime = nullptr,
                                        QWidget *parent = nullptr);

    void setClipboardProtectionEnabled(bool on);
    /// "Off. …", or "Active: " (or "Stopped: " while the guard switched on does not run)
    /// with the effective mode's title and explanation.
    QString clipboardProtectionSummary() const;
    /// The last message of the section, or why the guard switched on does not run.
    QString statusText() const;

private:
    /// Why the guard switched on does not run; nothing while it runs.
    std::optional<QString> haltSentence() const;
    void refresh();
    void chooseMode(int index);

    StoredSettings &m_settings;
    QCheckBox *m_toggle = nullptr;
    QComboBox *m_mode = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_status = nullptr;
    const ProtectionRuntime *m_runtime = nullptr;
    QString m_message; ///< The last message of the section's own actions.
};

} // namespace velmora
