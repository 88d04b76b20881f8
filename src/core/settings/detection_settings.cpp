#include "core/settings/detection_settings.h"

#include "core/settings/stored_settings.h"
#include "core/text/unicode_text.h"

#include <QJsonDocument>

namespace velmora {

namespace {

bool isLineBreak(QChar c)
{
    const char16_t unit = c.unicode();
    return (unit >= 0x000A && unit <= 0x000D) || unit == 0x0085 || unit == 0x2028 || unit == 0x2029;
}

} // namespace

bool isDetectionSettingKey(QStringView key)
{
    return key == Setting::customTermsText.key || key == Setting::customRegexesText.key
        || key == Setting::allowlistText.key || key == Setting::policyPresetID.key
        || key == Setting::detectorCategoryPreferencesData.key;
}

QStringList settingsTextLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isLineBreak(text.at(i)))
            continue;
        const QString line = unicode::trimmed(text.mid(start, i - start));
        if (!line.isEmpty())
            lines.append(line);
        start = i + 1;
    }
    return lines;
}

DetectorCategoryPreferences decodeDetectorCategoryPreferences(const QByteArray &data)
{
    if (data.isEmpty())
        return DetectorCategoryPreferences::defaultPreferences();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return DetectorCategoryPreferences::defaultPreferences();
    return DetectorCategoryPreferences::fromJson(document.object())
        .value_or(DetectorCategoryPreferences::defaultPreferences());
}

DetectionSettingsValues DetectionSettingsValues::load(const StoredSettings &settings)
{
    return {settings.value(Setting::customTermsText), settings.value(Setting::customRegexesText),
            settings.value(Setting::allowlistText), settings.value(Setting::policyPresetID),
            settings.value(Setting::detectorCategoryPreferencesData)};
}

CustomDetectionConfiguration DetectionSettingsValues::customDetectionConfiguration() const
{
    return {settingsTextLines(customTermsText), settingsTextLines(customRegexesText), settingsTextLines(allowlistText),
            RedactionPolicyConfiguration::forPreset(policyPresetID),
            decodeDetectorCategoryPreferences(detectorCategoryPreferencesData), {}};
}

CustomDetectionConfiguration storedCustomConfiguration(const StoredSettings &settings)
{
    return DetectionSettingsValues::load(settings).customDetectionConfiguration();
}

PolicyLock storedPolicyLock(const StoredSettings &settings)
{
    return PolicyLock::fromStoredData(settings.value(Setting::policyLockData));
}

} // namespace velmora
