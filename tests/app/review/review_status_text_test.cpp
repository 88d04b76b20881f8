#include "app/review/review_status_text.h"

#include "support/detection_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

struct PlanShape
{
    int confident = 0;
    int doubtful = 0; ///< Confidence 0.5.
    int off = 0;      ///< Confident and switched off.
};

RedactionPlan planOf(PlanShape shape)
{
    QList<Detection> detections;
    QList<QUuid> offIDs;
    double bottom = 0.95;
    auto add = [&](double confidence) {
        Detection detection = test::makeFinding({0.1, bottom -= 0.06, 0.3, 0.04});
        detection.confidence = confidence;
        detections.append(detection);
        return detection.id;
    };
    for (int i = 0; i < shape.confident; ++i)
        add(0.95);
    for (int i = 0; i < shape.doubtful; ++i)
        add(0.5);
    for (int i = 0; i < shape.off; ++i)
        offIDs.append(add(0.95));
    RedactionPlan plan(detections, {}, {});
    for (const QUuid &id : offIDs)
        plan.setActive(false, id);
    return plan;
}

struct TextRow
{
    const char *name;
    PlanShape shape;
    bool hasImage;
    const char *summary;
    const char *hint;
};

class ReviewStatusTexts : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(ReviewStatusTexts, SummaryAndHint)
{
    const TextRow &row = GetParam();
    const RedactionPlan plan = planOf(row.shape);
    EXPECT_EQ(findingsSummaryText(plan, row.hasImage), QString::fromUtf8(row.summary));
    EXPECT_EQ(reviewHint(plan), QString::fromUtf8(row.hint));
}

INSTANTIATE_TEST_SUITE_P(Rows, ReviewStatusTexts, ::testing::Values(
    TextRow{"NoImage", {}, false, "Open an image to start.",
            "No obvious sensitive content found. Review the image manually before sharing."},
    TextRow{"ImageWithoutFindings", {}, true, "No findings yet.",
            "No obvious sensitive content found. Review the image manually before sharing."},
    TextRow{"OneToCheck", {2, 1, 0}, true, "3 will redact - 1 to check", "1 detection needs closer review before export."},
    TextRow{"DoubtfulSwitchedOff", {2, 0, 1}, true, "2 will redact - 1 visible",
            "Review the boxes, then export a cleaned image or copy a PNG."},
    TextRow{"AllOff", {0, 0, 2}, true, "0 will redact - 2 visible",
            "All findings are off. Copy or export still creates a flattened cleaned image."},
    TextRow{"TwoToCheck", {0, 2, 1}, true, "2 will redact - 2 to check", "2 detections need closer review before export."}),
    test::rowName);

TEST(ReviewStatusTexts, WarningSingularAndPlural)
{
    const QString tail = QStringLiteral(" checking. Preview the cleaned output before sharing when possible.");
    EXPECT_EQ(reviewWarningMessage(1), "1 finding marked for redaction still needs" + tail);
    EXPECT_EQ(reviewWarningMessage(2), "2 findings marked for redaction still need" + tail);
    EXPECT_EQ(reviewWarningMessage(0), "0 findings marked for redaction still need" + tail);
}

TEST(ReviewStatusTexts, SkippedFilesSingularAndPlural)
{
    EXPECT_EQ(skippedFilesText(1), QStringLiteral("1 image file could not be opened and was skipped."));
    EXPECT_EQ(skippedFilesText(3), QStringLiteral("3 image files could not be opened and were skipped."));
}

struct PolicyRow
{
    const char *name;
    const char *source;
    const char *preset;
    const char *label;
};

class PolicySourceLabel : public ::testing::TestWithParam<PolicyRow>
{
};

TEST_P(PolicySourceLabel, WordsWhereThePolicyComesFrom)
{
    const PolicyRow &row = GetParam();
    EXPECT_EQ(policySourceLabel(QString::fromUtf8(row.source), QString::fromUtf8(row.preset)), QString::fromUtf8(row.label));
}

INSTANTIATE_TEST_SUITE_P(Rows, PolicySourceLabel, ::testing::Values(
    PolicyRow{"ManagedWinsOverPreset", "managed", "finance", "Managed by team policy"},
    PolicyRow{"Imported", "imported", "", "Imported policy"},
    PolicyRow{"LocalPreset", "local", "finance", "Finance"},
    PolicyRow{"MissingSourceWithAlias", "", "aiSharing", "Safe Sharing"},
    PolicyRow{"LocalWithoutPreset", "local", "", "Current defaults"},
    PolicyRow{"UnknownPreset", "local", "Finance", "Current defaults"},
    PolicyRow{"ManagedIsExact", "Managed", "", "Current defaults"}),
    test::rowName);

} // namespace
} // namespace velmora
