#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// What the policy does with a finding. The order of the cases is the order of every
/// disposition picker.
enum class RedactionPolicyDisposition {
    autoRedact,  ///< Included in the cleaned output without asking.
    needsReview, ///< Included, but flagged for a look before sharing.
    ignore,      ///< Creates no finding.
};

/// The short title a picker shows ("Redact", "Review", "Off").
QString title(RedactionPolicyDisposition disposition);
/// One sentence on what the disposition does.
QString helpText(RedactionPolicyDisposition disposition);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::RedactionPolicyDisposition,
    {velmora::RedactionPolicyDisposition::autoRedact, "autoRedact"},
    {velmora::RedactionPolicyDisposition::needsReview, "needsReview"},
    {velmora::RedactionPolicyDisposition::ignore, "ignore"});
