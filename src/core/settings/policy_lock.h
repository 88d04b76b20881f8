#pragma once

#include "core/support/raw_enum.h"

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringView>

#include <optional>
#include <set>

namespace velmora {

/// Where the detection policy in the settings came from.
enum class PolicySource { local, imported, managed };

/// A settings field that a policy lock can keep read-only.
enum class PolicyField { policyPreset, customTerms, customRegexes, allowlist };

// The settings fields an imported or managed policy keeps read-only in the settings
// window. Stored as JSON data; carried by the portable settings file.
struct PolicyLock
{
    std::set<PolicyField> lockedFields;

    bool locks(PolicyField field) const { return lockedFields.contains(field); }

    /// {"lockedFields": [raw values]}, the key present also for the empty lock.
    QJsonObject toJson() const;
    /// Nothing when the value is no object, "lockedFields" is missing or no array, or
    /// one of its entries is no field's raw value.
    static std::optional<PolicyLock> fromJson(const QJsonValue &value);

    /// The lock of stored data; empty or undecodable data locks nothing.
    static PolicyLock fromStoredData(const QByteArray &data);
    /// The compact JSON the settings store.
    QByteArray storedData() const;

    friend bool operator==(const PolicyLock &, const PolicyLock &) = default;
};

/// The source a stored text names; any text but "imported" and "managed" is local.
PolicySource storedPolicySource(QStringView text);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::PolicySource,
    {velmora::PolicySource::local, "local"},
    {velmora::PolicySource::imported, "imported"},
    {velmora::PolicySource::managed, "managed"});
VELMORA_RAW_ENUM(velmora::PolicyField,
    {velmora::PolicyField::policyPreset, "policyPreset"},
    {velmora::PolicyField::customTerms, "customTerms"},
    {velmora::PolicyField::customRegexes, "customRegexes"},
    {velmora::PolicyField::allowlist, "allowlist"});
