#include "core/redaction/needs_review.h"

#include "support/detection_fixtures.h"

#include <gtest/gtest.h>

#include <limits>

namespace velmora {
namespace {

struct NeedsReviewRow
{
    const char *name;
    bool isActive;
    double confidence;
    DetectionSuggestedAction action;
    DetectionBoundsPrecision precision;
    bool needsReview;
};

class NeedsReviewRule : public ::testing::TestWithParam<NeedsReviewRow>
{
};

TEST_P(NeedsReviewRule, DecidesPerEntry)
{
    const NeedsReviewRow &row = GetParam();
    Detection detection = test::makeFinding({0.1, 0.1, 0.2, 0.05});
    detection.confidence = row.confidence;
    detection.suggestedAction = row.action;
    detection.boundsPrecision = row.precision;
    EXPECT_EQ(entryNeedsReview({detection, row.isActive}), row.needsReview);
}

using A = DetectionSuggestedAction;
using P = DetectionBoundsPrecision;

INSTANTIATE_TEST_SUITE_P(Rows, NeedsReviewRule, ::testing::Values(
    NeedsReviewRow{"ConfidenceExactlyPointEightIsConfident", true, 0.8, A::redact, P::tight, false},
    NeedsReviewRow{"ConfidencePointSevenNineNeedsReview", true, 0.79, A::redact, P::tight, true},
    NeedsReviewRow{"NaNConfidenceNeedsReview", true, std::numeric_limits<double>::quiet_NaN(), A::redact, P::tight, true},
    NeedsReviewRow{"ReviewActionNeedsReview", true, 0.95, A::review, P::tight, true},
    NeedsReviewRow{"LineFallbackNeedsReview", true, 0.95, A::redact, P::lineFallback, true},
    NeedsReviewRow{"ManualBoxIsConfident", true, 1.0, A::redact, P::manual, false},
    NeedsReviewRow{"UnknownPrecisionIsConfident", true, 0.9, A::redact, P::unknown, false},
    NeedsReviewRow{"InactiveReviewNeverNeedsReview", false, 0.95, A::review, P::tight, false},
    NeedsReviewRow{"InactiveLowConfidenceNeverNeedsReview", false, 0.1, A::redact, P::lineFallback, false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(NeedsReviewRule, CountsOverAPlan)
{
    Detection confident = test::makeFinding({0.1, 0.8, 0.2, 0.05});
    Detection doubtful = test::makeFinding({0.1, 0.5, 0.2, 0.05});
    doubtful.confidence = 0.5;
    Detection flagged = test::makeFinding({0.1, 0.2, 0.2, 0.05});
    flagged.suggestedAction = DetectionSuggestedAction::review;
    RedactionPlan plan({confident, doubtful, flagged}, {}, {});
    EXPECT_EQ(needsReviewEntries(plan), 2);
    EXPECT_EQ(activeEntryCount(plan), 3);
    plan.setActive(false, flagged.id);
    EXPECT_EQ(needsReviewEntries(plan), 1);
    EXPECT_EQ(activeEntryCount(plan), 2);
}

} // namespace
} // namespace velmora
