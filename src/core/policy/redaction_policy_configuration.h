#pragma once

#include "core/policy/redaction_policy_catalog.h"
#include "core/policy/redaction_policy_disposition.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringView>

#include <optional>

namespace velmora {

// The active redaction policy: a disposition per policy pack, keyed by the pack's raw
// value. Keys that name no pack (from an imported file) are kept, encoded and compared,
// but no lookup returns them. An empty map means "no preset chosen": every rule keeps
// its own suggested action.
struct RedactionPolicyConfiguration
{
    QMap<QString, RedactionPolicyDisposition> dispositionsByPolicyID;

    /// Every pack mapped to the preset's disposition for it.
    static RedactionPolicyConfiguration fromPreset(RedactionPolicyPresetID preset);
    static RedactionPolicyConfiguration fromPolicyDispositions(const PackDispositions &dispositions);
    /// The shared empty configuration.
    static const RedactionPolicyConfiguration &defaultConfiguration();
    /// The configuration of a stored preset identifier (raw value or alias); the default
    /// configuration when the text names no preset.
    static RedactionPolicyConfiguration forPreset(QStringView identifier);

    std::optional<RedactionPolicyDisposition> disposition(RedactionPolicyPackID pack) const;
    RedactionPolicyDisposition disposition(RedactionPolicyPackID pack, RedactionPolicyDisposition fallback) const;
    /// The entries whose keys name a pack; every other key is dropped.
    PackDispositions packDispositions() const;

    /// {"dispositionsByPolicyID": {key: disposition raw value, ...}}
    QJsonObject toJson() const;
    /// Nothing when the value is no object, the key "dispositionsByPolicyID" is missing
    /// or not an object, or a disposition is no raw value.
    static std::optional<RedactionPolicyConfiguration> fromJson(const QJsonValue &value);

    friend bool operator==(const RedactionPolicyConfiguration &, const RedactionPolicyConfiguration &) = default;
};

} // namespace velmora
