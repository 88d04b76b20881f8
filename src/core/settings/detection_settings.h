#pragma once

#include "core/detection/custom_detection_configuration.h"
#include "core/detection/detector_category_preferences.h"
#include "core/settings/policy_lock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora {

class StoredSettings;

/// Whether `key` is the key of one of the five stored detection settings.
bool isDetectionSettingKey(QStringView key);

/// The lines of a settings text in order: split at every line break, each piece
/// trimmed of white space and newlines, empty pieces dropped.
QStringList settingsTextLines(const QString &text);

/// The stored category preferences; empty or undecodable data gives the defaults.
DetectorCategoryPreferences decodeDetectorCategoryPreferences(const QByteArray &data);

/// The configuration of the stored detection settings (see DetectionSettingsValues).
CustomDetectionConfiguration storedCustomConfiguration(const StoredSettings &settings);
/// The stored policy lock; empty or undecodable data locks nothing.
PolicyLock storedPolicyLock(const StoredSettings &settings);

// The five stored detection settings as the main window keeps its own copy of them:
// three texts of lines, the preset identifier and the category preferences' JSON.
struct DetectionSettingsValues
{
    QString customTermsText;
    QString customRegexesText;
    QString allowlistText;
    QString policyPresetID;
    QByteArray detectorCategoryPreferencesData;

    /// Reads all five; a missing text is empty, missing data is empty.
    static DetectionSettingsValues load(const StoredSettings &settings);

    /// The configuration these settings describe, built anew at every call: the three
    /// texts as lines, the preset's policy, the decoded category preferences and no
    /// learned safe rules.
    CustomDetectionConfiguration customDetectionConfiguration() const;

    friend bool operator==(const DetectionSettingsValues &, const DetectionSettingsValues &) = default;
};

} // namespace velmora
