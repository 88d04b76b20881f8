#include "core/redaction/needs_review.h"

#include <algorithm>

namespace velmora {

namespace {
constexpr double confidentThreshold = 0.8;
}

bool entryNeedsReview(const RedactionPlanEntry &entry)
{
    if (!entry.isActive)
        return false;
    const Detection &detection = entry.detection;
    // Written as "not confident" so that a NaN confidence is never read as confident.
    return detection.suggestedAction == DetectionSuggestedAction::review || !(detection.confidence >= confidentThreshold)
        || detection.boundsPrecision == DetectionBoundsPrecision::lineFallback;
}

int needsReviewEntries(const RedactionPlan &plan)
{
    return int(std::count_if(plan.entries().begin(), plan.entries().end(), entryNeedsReview));
}

int activeEntryCount(const RedactionPlan &plan)
{
    return int(std::count_if(plan.entries().begin(), plan.entries().end(),
                             [](const RedactionPlanEntry &entry) { return entry.isActive; }));
}

} // namespace velmora
