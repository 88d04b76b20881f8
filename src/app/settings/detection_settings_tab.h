#pragma once

#include "core/detection/detector_category.h"
#include "core/policy/redaction_policy_disposition.h"
#include "core/settings/detection_settings.h"

#include <QMap>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;

namespace velmora {

class CommandBus;
class DetectorCategoryDispositionControl;
class SettingsTextEditor;
class StoredSettings;

// The Detection tab of the settings window: the policy preset, custom terms and
// regexes, the allowlist and the built-in detector families. Every control writes its
// stored setting at once; a changed text or preset, and every disposition choice, then
// announces the detection settings (saveDetectionSettings) so that an open image is
// scanned again. Fields an imported or managed policy locks are shown read-only. The
// tab follows the store live: a change made elsewhere shows at once.
class DetectionSettingsTab : public QWidget
{
    Q_OBJECT
public:
    DetectionSettingsTab(StoredSettings &settings, CommandBus &commands, QWidget *parent = nullptr);

    /// Sets the status line and posts velmoraCustomDetectionSettingsDidChange with the
    /// stored values (the preference data replaced by `preferencesOverride` when given).
    void saveDetectionSettings(const std::optional<QByteArray> &preferencesOverride = std::nullopt);
    QString statusText() const;
    /// Takes keyboard focus from the three editors.
    void clearEditorFocus();

private:
    QWidget *buildPresetSection();
    QWidget *buildCustomSection();
    QWidget *buildAllowlistSection();
    QWidget *buildDetectorsSection();
    QWidget *buildCategoryRow(DetectorCategory category);

    void onStoredSettingChanged();
    void refresh();
    void refreshPolicySource();
    void chooseDisposition(DetectorCategory category, RedactionPolicyDisposition disposition);
    void setStatusText(const QString &text);

    StoredSettings &m_settings;
    CommandBus &m_commands;
    DetectionSettingsValues m_seen;
    QComboBox *m_presetPicker = nullptr;
    QWidget *m_sourceLabel = nullptr;
    QLabel *m_sourceIcon = nullptr;
    QLabel *m_sourceText = nullptr;
    QLabel *m_presetSummary = nullptr;
    SettingsTextEditor *m_termsEditor = nullptr;
    SettingsTextEditor *m_regexesEditor = nullptr;
    SettingsTextEditor *m_allowlistEditor = nullptr;
    QLabel *m_invalidRegexes = nullptr;
    QLabel *m_status = nullptr;
    QMap<DetectorCategory, DetectorCategoryDispositionControl *> m_dispositionControls;
    QMap<DetectorCategory, QLabel *> m_dispositionHelp;
};

} // namespace velmora
