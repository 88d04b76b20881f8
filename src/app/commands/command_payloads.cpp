#include "app/commands/command_payloads.h"

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

template <>
CommandMessage encodeCommandPayload(const NoPayload &)
{
    return {};
}

template <>
std::optional<NoPayload> decodeCommandPayload(const CommandMessage &)
{
    return NoPayload{};
}

template <>
CommandMessage encodeCommandPayload(const VelmoraCaptureMode &mode)
{
    return {QVariant::fromValue(rawValue(mode)), {}};
}

template <>
std::optional<VelmoraCaptureMode> decodeCommandPayload(const CommandMessage &message)
{
    if (message.object.typeId() != QMetaType::QString)
        return std::nullopt;
    return fromRawValue<VelmoraCaptureMode>(message.object.toString());
}

template <>
CommandMessage encodeCommandPayload(const std::optional<DetectionSettingsValues> &values)
{
    if (!values)
        return {};
    return {{},
            {{Setting::customTermsText.key, values->customTermsText},
             {Setting::customRegexesText.key, values->customRegexesText},
             {Setting::allowlistText.key, values->allowlistText},
             {Setting::policyPresetID.key, values->policyPresetID},
             {Setting::detectorCategoryPreferencesData.key, values->detectorCategoryPreferencesData}}};
}

template <>
std::optional<std::optional<DetectionSettingsValues>> decodeCommandPayload(const CommandMessage &message)
{
    const QVariantMap &userInfo = message.userInfo;
    if (userInfo.isEmpty())
        return std::optional<DetectionSettingsValues>();
    return DetectionSettingsValues{text(userInfo, Setting::customTermsText.key),
                                   text(userInfo, Setting::customRegexesText.key),
                                   text(userInfo, Setting::allowlistText.key),
                                   text(userInfo, Setting::policyPresetID.key),
                                   data(userInfo, Setting::detectorCategoryPreferencesData.key)};
}

} // namespace velmora
