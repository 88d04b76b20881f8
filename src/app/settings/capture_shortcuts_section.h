#pragma once

#include "app/settings/settings_section.h"
#include "core/protection/capture_mode.h"

#include <QMap>

class QComboBox;
class QLabel;

namespace velmora {

class StoredSettings;

// "Capture Shortcuts": one global key choice (or none) for each capture mode. Shared
// choices are stored but reported in orange. The main window registers its hot keys
// again after every stored change, and the hot-key controller then writes its own
// registration status, shown here as soon as it is stored.
class CaptureShortcutsSection : public SettingsSection
{
    Q_OBJECT
public:
    explicit CaptureShortcutsSection(StoredSettings &settings, QWidget *parent = nullptr);

    /// Stores the choice named by `rawValue` (an unknown one is disabled) for the mode.
    void storeShortcutChoice(const QString &rawValue, VelmoraCaptureMode mode);
    /// The defaults text, or the shared choices to resolve.
    QString duplicateShortcutMessage() const;

private:
    void saveCaptureShortcuts();
    void refresh();

    StoredSettings &m_settings;
    QMap<VelmoraCaptureMode, QComboBox *> m_pickers;
    QLabel *m_summary = nullptr;
    QLabel *m_registration = nullptr;
};

} // namespace velmora
