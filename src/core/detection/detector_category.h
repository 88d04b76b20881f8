#pragma once

#include "core/policy/detector_taxonomy.h"
#include "core/policy/redaction_policy_disposition.h"
#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

struct Detection;

/// The ten groups of findings that the user can switch off or give a disposition of
/// their own. Raw values equal the case names; the raw value is also the category's id.
enum class DetectorCategory {
    emails,
    phones,
    cards,
    ipAddresses,
    secrets,
    highEntropy,
    visualCodes,
    faces,
    customerAccount,
    custom,
};

QString title(DetectorCategory category);
/// One line on what the category finds.
QString summary(DetectorCategory category);
DetectorTaxonomyGroup taxonomyGroup(DetectorCategory category);
/// The disposition the settings show for a category the user has not set: Review for
/// IP addresses, high-entropy strings and customer/account data, Redact for the rest.
RedactionPolicyDisposition defaultDisposition(DetectorCategory category);

/// The category a finding belongs to, from its kind and (for secrets and unknown kinds)
/// its exact, case-sensitive label.
DetectorCategory detectorCategory(const Detection &detection);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::DetectorCategory,
    {velmora::DetectorCategory::emails, "emails"},
    {velmora::DetectorCategory::phones, "phones"},
    {velmora::DetectorCategory::cards, "cards"},
    {velmora::DetectorCategory::ipAddresses, "ipAddresses"},
    {velmora::DetectorCategory::secrets, "secrets"},
    {velmora::DetectorCategory::highEntropy, "highEntropy"},
    {velmora::DetectorCategory::visualCodes, "visualCodes"},
    {velmora::DetectorCategory::faces, "faces"},
    {velmora::DetectorCategory::customerAccount, "customerAccount"},
    {velmora::DetectorCategory::custom, "custom"});
