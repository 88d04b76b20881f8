#pragma once

#include "core/redaction/redaction_plan.h"

#include <QString>

namespace velmora {

// What the active policy did with one finding and what the user changed, as a short
// label and one sentence, for the findings list. Derived from the entry alone (its
// on/off state, label and suggested action): the detection pass has already turned
// the policy into the suggested action.
struct PolicyActionExplanation
{
    QString label;  ///< A few words: "Auto-redacted", "Needs review", ...
    QString detail; ///< One sentence.

    PolicyActionExplanation() = default;
    explicit PolicyActionExplanation(const RedactionPlanEntry &entry);

    /// label, ": ", detail.
    QString text() const;

    friend bool operator==(const PolicyActionExplanation &, const PolicyActionExplanation &) = default;
};

} // namespace velmora
