#include "app/commands/detection_settings_notice.h"

#include "app/commands/command_bus.h"
#include "app/commands/command_names.h"
#include "core/settings/settings_table.h"

namespace velmora {

namespace {

QString text(const QVariantMap &userInfo, QLatin1StringView key)
{
    const QVariant value = userInfo.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QByteArray data(const QVariantMap &userInfo, QLatin1StringView key)
{
    const QVariant value = userInfo.value(key);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

} // namespace

void postCustomDetectionSettingsChange(const std::optional<DetectionSettingsValues> &values)
{
    QVariantMap userInfo;
    if (values) {
        userInfo.insert(Setting::customTermsText.key, values->customTermsText);
        userInfo.insert(Setting::customRegexesText.key, values->customRegexesText);
        userInfo.insert(Setting::allowlistText.key, values->allowlistText);
        userInfo.insert(Setting::policyPresetID.key, values->policyPresetID);
        userInfo.insert(Setting::detectorCategoryPreferencesData.key, values->detectorCategoryPreferencesData);
    }
    CommandBus::instance().post(commands::velmoraCustomDetectionSettingsDidChange, {}, userInfo);
}

QMetaObject::Connection observeCustomDetectionSettingsChanges(
    QObject *context, std::function<void(const std::optional<DetectionSettingsValues> &)> handler)
{
    return CommandBus::instance().observe(
        commands::velmoraCustomDetectionSettingsDidChange, context,
        [handler = std::move(handler)](const QVariant &, const QVariantMap &userInfo) {
            if (userInfo.isEmpty()) {
                handler(std::nullopt);
                return;
            }
            handler(DetectionSettingsValues{text(userInfo, Setting::customTermsText.key),
                                            text(userInfo, Setting::customRegexesText.key),
                                            text(userInfo, Setting::allowlistText.key),
                                            text(userInfo, Setting::policyPresetID.key),
                                            data(userInfo, Setting::detectorCategoryPreferencesData.key)});
        });
}

} // namespace velmora
