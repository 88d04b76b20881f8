#include "app/settings/detection_settings_notice.h"

#include "app/shell/command_bus.h"
#include "app/shell/command_names.h"
#include "core/settings/stored_settings.h"

namespace velmora {

QVariantMap detectionSettingsUserInfo(const StoredSettings &settings, const std::optional<QByteArray> &preferencesOverride)
{
    return {{Setting::customTermsText.key, settings.value(Setting::customTermsText)},
            {Setting::customRegexesText.key, settings.value(Setting::customRegexesText)},
            {Setting::allowlistText.key, settings.value(Setting::allowlistText)},
            {Setting::policyPresetID.key, settings.value(Setting::policyPresetID)},
            {Setting::detectorCategoryPreferencesData.key,
             preferencesOverride.value_or(settings.value(Setting::detectorCategoryPreferencesData))}};
}

void postDetectionSettingsChange(const StoredSettings &settings, const std::optional<QByteArray> &preferencesOverride)
{
    CommandBus::instance().post(commands::velmoraCustomDetectionSettingsDidChange, {},
                                detectionSettingsUserInfo(settings, preferencesOverride));
}

} // namespace velmora
