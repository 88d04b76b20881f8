#pragma once

#include "core/policy/redaction_policy_disposition.h"
#include "core/support/raw_enum.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace velmora {

/// A policy pack: a group of detectors that share one disposition under a policy.
enum class RedactionPolicyPackID { pii, secrets, companyConfidential, customerAccount, custom };

/// A named starting point for the policy: one disposition for every pack.
enum class RedactionPolicyPresetID {
    safeSharing,
    developerDevOps,
    supportCustomerData,
    finance,
    healthcareRegulated,
    companyConfidential,
    custom,
};

using PackDispositions = QMap<RedactionPolicyPackID, RedactionPolicyDisposition>;

struct RedactionPolicyPack
{
    RedactionPolicyPackID id = RedactionPolicyPackID::pii;
    QString title;
    QString summary;
    /// Catalogue information only: the detection pass never applies it.
    RedactionPolicyDisposition defaultDisposition = RedactionPolicyDisposition::autoRedact;
    /// Labels of the detectors in the pack, compared exactly with a finding's label.
    QStringList detectorLabels;

    friend bool operator==(const RedactionPolicyPack &, const RedactionPolicyPack &) = default;
};

struct RedactionPolicyPreset
{
    RedactionPolicyPresetID id = RedactionPolicyPresetID::safeSharing;
    QString title;
    QString summary;
    PackDispositions policyDispositions; ///< Every pack has an entry.

    friend bool operator==(const RedactionPolicyPreset &, const RedactionPolicyPreset &) = default;
};

/// The preset named by a stored identifier: a preset's raw value (exact case) or one of
/// the share-destination aliases of older stores ("aiSharing", "publicDocs",
/// "supportTicket", "internalTeammateSharing"). Empty or unknown text gives nothing;
/// the text is not trimmed.
std::optional<RedactionPolicyPresetID> presetIDFromIdentifier(QStringView identifier);

// The fixed catalogues of packs and presets, built on first use and shared read-only.
namespace RedactionPolicyCatalog {

/// The five packs in catalogue order.
const QList<RedactionPolicyPack> &packs();
const RedactionPolicyPack &pack(RedactionPolicyPackID id);
/// The first pack, in catalogue order, that lists exactly this label, or nothing.
std::optional<RedactionPolicyPack> packContainingDetectorLabel(QStringView label);

/// The seven presets in the order of their ids.
const QList<RedactionPolicyPreset> &presets();
const RedactionPolicyPreset &preset(RedactionPolicyPresetID id);

} // namespace RedactionPolicyCatalog

} // namespace velmora

VELMORA_RAW_ENUM(velmora::RedactionPolicyPackID,
    {velmora::RedactionPolicyPackID::pii, "pii"},
    {velmora::RedactionPolicyPackID::secrets, "secrets"},
    {velmora::RedactionPolicyPackID::companyConfidential, "companyConfidential"},
    {velmora::RedactionPolicyPackID::customerAccount, "customerAccount"},
    {velmora::RedactionPolicyPackID::custom, "custom"});

VELMORA_RAW_ENUM(velmora::RedactionPolicyPresetID,
    {velmora::RedactionPolicyPresetID::safeSharing, "safeSharing"},
    {velmora::RedactionPolicyPresetID::developerDevOps, "developerDevOps"},
    {velmora::RedactionPolicyPresetID::supportCustomerData, "supportCustomerData"},
    {velmora::RedactionPolicyPresetID::finance, "finance"},
    {velmora::RedactionPolicyPresetID::healthcareRegulated, "healthcareRegulated"},
    {velmora::RedactionPolicyPresetID::companyConfidential, "companyConfidential"},
    {velmora::RedactionPolicyPresetID::custom, "custom"});
