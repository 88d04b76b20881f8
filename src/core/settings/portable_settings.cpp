#include "core/settings/portable_settings.h"

#include "core/support/json_reading.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace velmora {

namespace {

const auto kSchemaVersionKey = QLatin1String("schemaVersion");
const auto kAppVersionKey = QLatin1String("appVersion");
const auto kSourceKey = QLatin1String("source");
const auto kLockKey = QLatin1String("lock");
const auto kCustomConfigurationKey = QLatin1String("customConfiguration");
const auto kPolicyPresetIDKey = QLatin1String("policyPresetID");

std::optional<int> wholeNumber(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (std::trunc(number) != number || std::abs(number) > 1e9)
        return std::nullopt;
    return int(number);
}

// A string read into an optional field: the outer nothing is a value of the wrong form.
std::optional<std::optional<QString>> presentString(const QJsonValue &value)
{
    const std::optional<QString> text = json::string(value);
    if (!text)
        return std::nullopt;
    return std::optional<std::optional<QString>>(std::in_place, *text);
}

QByteArray withoutByteOrderMark(const QByteArray &data)
{
    static const QByteArray mark("\xEF\xBB\xBF");
    return data.startsWith(mark) ? data.mid(mark.size()) : data;
}

} // namespace

QByteArray VelmoraPortableSettings::encoded() const
{
    QJsonObject object{{kSchemaVersionKey, schemaVersion},
                       {kSourceKey, rawValue(source)},
                       {kLockKey, lock.toJson()},
                       {kCustomConfigurationKey, customConfiguration.toJson()}};
    if (appVersion)
        object.insert(kAppVersionKey, *appVersion);
    if (policyPresetID)
        object.insert(kPolicyPresetIDKey, rawValue(*policyPresetID));
    // QJsonObject keeps its keys sorted, so the output is too.
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<VelmoraPortableSettings> VelmoraPortableSettings::decode(const QByteArray &data)
{
    if (data.size() > maximumFileSize)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(withoutByteOrderMark(data), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();

    VelmoraPortableSettings settings;
    const auto configuration = json::optionalValue(object, kCustomConfigurationKey);
    if (!configuration)
        return std::nullopt;
    const auto decodedConfiguration = CustomDetectionConfiguration::fromJson(*configuration);
    if (!decodedConfiguration)
        return std::nullopt;
    settings.customConfiguration = *decodedConfiguration;

    std::optional<QString> presetText;
    const bool ok = json::readOptional(object, kSchemaVersionKey, settings.schemaVersion, wholeNumber)
        && json::readOptional(object, kAppVersionKey, settings.appVersion,
                              presentString)
        && json::readOptional(object, kSourceKey, settings.source, json::rawEnum<PolicySource>)
        && json::readOptional(object, kLockKey, settings.lock, PolicyLock::fromJson)
        && json::readOptional(object, kPolicyPresetIDKey, presetText,
                              presentString);
    if (!ok)
        return std::nullopt;
    if (presetText)
        settings.policyPresetID = presetIDFromIdentifier(*presetText);
    return settings;
}

} // namespace velmora
