#pragma once

#include "core/redaction/redaction_plan.h"

namespace velmora {

/// The one rule of what still needs the user's look before sharing: an active entry
/// whose suggested action is review, whose confidence is below 0.8 (0.8 itself is
/// confident), or whose box is only the whole line. Inactive entries never do.
/// The findings filter, status line, hints, review warning, share gate, batch rows,
/// history counts and AutoClean decisions all ask this rule.
bool entryNeedsReview(const RedactionPlanEntry &entry);

/// The number of entries of the plan that need review.
int needsReviewEntries(const RedactionPlan &plan);

/// The number of active entries.
int activeEntryCount(const RedactionPlan &plan);

} // namespace velmora
