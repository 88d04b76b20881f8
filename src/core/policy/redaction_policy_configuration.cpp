#include "core/policy/redaction_policy_configuration.h"

#include "core/support/json_reading.h"

namespace velmora {

namespace {
const auto kDispositionsKey = QLatin1String("dispositionsByPolicyID");
}

RedactionPolicyConfiguration RedactionPolicyConfiguration::fromPreset(RedactionPolicyPresetID preset)
{
    return fromPolicyDispositions(RedactionPolicyCatalog::preset(preset).policyDispositions);
}

RedactionPolicyConfiguration RedactionPolicyConfiguration::fromPolicyDispositions(const PackDispositions &dispositions)
{
    RedactionPolicyConfiguration configuration;
    for (auto it = dispositions.begin(); it != dispositions.end(); ++it)
        configuration.dispositionsByPolicyID.insert(rawValue(it.key()), it.value());
    return configuration;
}

const RedactionPolicyConfiguration &RedactionPolicyConfiguration::defaultConfiguration()
{
    static const RedactionPolicyConfiguration empty;
    return empty;
}

RedactionPolicyConfiguration RedactionPolicyConfiguration::forPreset(QStringView identifier)
{
    if (const auto preset = presetIDFromIdentifier(identifier))
        return fromPreset(*preset);
    return defaultConfiguration();
}

std::optional<RedactionPolicyDisposition> RedactionPolicyConfiguration::disposition(RedactionPolicyPackID pack) const
{
    const auto it = dispositionsByPolicyID.constFind(rawValue(pack));
    if (it == dispositionsByPolicyID.cend())
        return std::nullopt;
    return it.value();
}

RedactionPolicyDisposition RedactionPolicyConfiguration::disposition(RedactionPolicyPackID pack,
                                                                     RedactionPolicyDisposition fallback) const
{
    return disposition(pack).value_or(fallback);
}

PackDispositions RedactionPolicyConfiguration::packDispositions() const
{
    PackDispositions result;
    for (auto it = dispositionsByPolicyID.begin(); it != dispositionsByPolicyID.end(); ++it) {
        if (const auto pack = fromRawValue<RedactionPolicyPackID>(it.key()))
            result.insert(*pack, it.value());
    }
    return result;
}

QJsonObject RedactionPolicyConfiguration::toJson() const
{
    return {{kDispositionsKey, json::rawEnumMapToJson(dispositionsByPolicyID)}};
}

std::optional<RedactionPolicyConfiguration> RedactionPolicyConfiguration::fromJson(const QJsonValue &value)
{
    if (!value.isObject())
        return std::nullopt;
    // The one key is required: a file without it is malformed, not "no policy".
    const auto dispositions = json::rawEnumMap<RedactionPolicyDisposition>(value.toObject().value(kDispositionsKey));
    if (!dispositions)
        return std::nullopt;
    return RedactionPolicyConfiguration{*dispositions};
}

} // namespace velmora
