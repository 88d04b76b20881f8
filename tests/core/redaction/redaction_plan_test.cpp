#include "core/redaction/redaction_plan.h"

#include "support/detection_fixtures.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

#include <limits>

using namespace velmora;
using velmora::test::makeFace;
using velmora::test::makeFinding;
using velmora::test::rectNear;

namespace {

const QString kManualLabel = QStringLiteral("Manual redaction");
const QString kManualReason = QStringLiteral("Added by the user.");

Detection makeManual(const NormRect &bounds)
{
    Detection detection = makeFinding(bounds);
    detection.kind = DetectionKind::unknown;
    detection.label = kManualLabel;
    detection.reason = kManualReason;
    detection.confidence = 1.0;
    detection.source = DetectionSource::user;
    detection.boundsPrecision = DetectionBoundsPrecision::manual;
    return detection;
}

QList<QUuid> idsOf(const QList<Detection> &detections)
{
    QList<QUuid> ids;
    for (const Detection &detection : detections)
        ids.append(detection.id);
    return ids;
}

// --- Reading order ---------------------------------------------------------------

struct ReadingOrderRow {
    const char *name;
    QList<NormRect> boxes;      // given in this order
    QList<int> expectedOrder;   // indexes into boxes
};

class ReadingOrderTest : public ::testing::TestWithParam<ReadingOrderRow> {};

TEST_P(ReadingOrderTest, HigherBottomEdgeComesFirst)
{
    const auto &row = GetParam();
    QList<Detection> given;
    for (const NormRect &box : row.boxes)
        given.append(makeFinding(box));
    const RedactionPlan plan(given, {}, {});
    QList<QUuid> expected;
    for (int index : row.expectedOrder)
        expected.append(given[index].id);
    EXPECT_EQ(idsOf(plan.detections()), expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ReadingOrderTest, ::testing::Values(
    ReadingOrderRow{"higherBottomFirst", {{0.1, 0.2, 0.05, 0.05}, {0.5, 0.8, 0.05, 0.05}}, {1, 0}},
    ReadingOrderRow{"exactlyEqualBottomLeftFirst", {{0.6, 0.5, 0.05, 0.05}, {0.1, 0.5, 0.05, 0.05}}, {1, 0}},
    ReadingOrderRow{"noToleranceBand", {{0.1, 0.5, 0.05, 0.05}, {0.9, 0.5000001, 0.05, 0.05}}, {1, 0}},
    ReadingOrderRow{"negativeHeightReadByItsBottom",
                    {{0.1, 0.3, 0.05, 0.05}, {0.5, 0.45, 0.05, -0.1}}, {1, 0}}),
    test::rowName);

// --- Near-duplicate merging ---------------------------------------------------------

struct MergeRow {
    const char *name;
    QList<Detection> detections;
    QList<Detection> visual;
    QList<Detection> manual;
    QList<QString> expectedSurvivorTags; // reasons of the survivors, in plan order
};

Detection tagged(Detection detection, const char *tag)
{
    detection.reason = QString::fromLatin1(tag);
    return detection;
}

Detection withRange(Detection detection, qint64 location, qint64 length)
{
    detection.matchedRange = TextRange{location, length};
    return detection;
}

Detection withPrecision(Detection detection, DetectionBoundsPrecision precision, double confidence)
{
    detection.boundsPrecision = precision;
    detection.confidence = confidence;
    return detection;
}

Detection withLabel(Detection detection, const char16_t *label)
{
    detection.label = QString::fromUtf16(label);
    return detection;
}

const NormRect kLine{0.1, 0.4, 0.6, 0.05};

MergeRow lineFallbackPair(const char *name, qint64 secondLocation, QList<QString> expected)
{
    const Detection first = withRange(
        withPrecision(tagged(makeFinding(kLine), "first"), DetectionBoundsPrecision::lineFallback, 0.95), 0, 5);
    const Detection second = withRange(
        withPrecision(tagged(makeFinding(kLine), "second"), DetectionBoundsPrecision::lineFallback, 0.9),
        secondLocation, 5);
    return {name, {first, second}, {}, {}, expected};
}

class PlanMergeTest : public ::testing::TestWithParam<MergeRow> {};

TEST_P(PlanMergeTest, KeepsTheRightSurvivors)
{
    const auto &row = GetParam();
    const RedactionPlan plan(row.detections, row.visual, row.manual);
    QList<QString> survivors;
    for (const Detection &detection : plan.detections())
        survivors.append(detection.reason);
    EXPECT_EQ(survivors, row.expectedSurvivorTags);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlanMergeTest, ::testing::Values(
    lineFallbackPair("rangesApart", 10, {"first", "second"}),
    lineFallbackPair("rangesOverlap", 4, {"first"}),
    lineFallbackPair("rangesTouch", 5, {"first", "second"}),
    // A tight box of the same text replaces the whole-line box, though it covers little of it.
    MergeRow{"tightAbsorbsLineBox",
             {withRange(withPrecision(tagged(makeFinding(kLine), "line"), DetectionBoundsPrecision::lineFallback, 1.0), 0, 20),
              withRange(tagged(makeFinding({0.2, 0.4, 0.1, 0.05}), "tight"), 5, 8)},
             {}, {}, {"tight"}},
    // The face lies 90 % under the manual box: the manual box wins whatever the face's confidence.
    MergeRow{"manualCoversFace",
             {}, {withPrecision(tagged(makeFace({0.1, 0.1, 0.2, 0.2}), "face"), DetectionBoundsPrecision::tight, 1.0)},
             {tagged(makeManual({0.12, 0.1, 0.3, 0.2}), "manual")}, {"manual"}},
    // Mended: a small manual box inside a face must not take the whole face's place.
    MergeRow{"manualInsideFaceKeepsBoth",
             {}, {tagged(makeFace({0.1, 0.1, 0.3, 0.3}), "face")},
             {tagged(makeManual({0.15, 0.15, 0.05, 0.05}), "manual")}, {"manual", "face"}},
    MergeRow{"textInsideCodeKeepsBoth",
             {withRange(tagged(makeFinding({0.3, 0.3, 0.1, 0.02}), "text"), 0, 10)},
             {tagged(makeFace({0.2, 0.2, 0.4, 0.4}), "code")}, {}, {"text", "code"}},
    MergeRow{"zeroAreaNeverMerged",
             {tagged(makeFinding({0.1, 0.1, 0.2, 0.2}), "box"), tagged(makeFinding({0.15, 0.12, 0, 0.1}), "line")},
             {}, {}, {"line", "box"}},
    MergeRow{"sameSizeNinetyPercent",
             {tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "a"),
              withPrecision(tagged(makeFinding({0.11, 0.1, 0.1, 0.1}), "b"), DetectionBoundsPrecision::tight, 0.5)},
             {}, {}, {"a"}},
    MergeRow{"sameSizeEightyPercent",
             {tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "a"),
              withPrecision(tagged(makeFinding({0.12, 0.1, 0.1, 0.1}), "b"), DetectionBoundsPrecision::tight, 0.5)},
             {}, {}, {"a", "b"}},
    MergeRow{"smallerAreaWinsTies",
             {tagged(makeFinding({0.1, 0.1, 0.3, 0.1}), "large"), tagged(makeFinding({0.1, 0.1, 0.29, 0.1}), "small")},
             {}, {}, {"small"}},
    MergeRow{"labelBreaksTheLastTie",
             {withLabel(tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "zeta"), u"Zeta"),
              withLabel(tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "alpha"), u"Alpha")},
             {}, {}, {"alpha"}},
    // By scalar values U+FB01 sorts before U+1F600, although its UTF-16 unit is larger.
    MergeRow{"labelsCompareByScalarValues",
             {withLabel(tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "emoji"), u"\U0001F600"),
              withLabel(tagged(makeFinding({0.1, 0.1, 0.1, 0.1}), "ligature"), u"\uFB01")},
             {}, {}, {"ligature"}}),
    test::rowName);

// One value read twice, on two pages of an image that sees through: the surer reading's
// box saw less of it than the other's. The finding kept covers both boxes.
TEST(RedactionPlanTest, TheFindingKeptCoversItsNearDuplicatesBox)
{
    const Detection token = withRange(withPrecision(makeFinding({0.12, 0.4, 0.5, 0.05}), DetectionBoundsPrecision::tight, 0.95), 0, 13);
    const Detection account = withRange(makeFinding({0.1, 0.4, 0.52, 0.05}), 0, 21);
    const RedactionPlan plan({token, account}, {}, {});
    ASSERT_EQ(plan.detections().size(), 1);
    EXPECT_EQ(plan.detections().front().id, token.id);
    EXPECT_TRUE(rectNear(plan.detections().front().normalizedBounds, {0.1, 0.4, 0.52, 0.05}));
}

TEST(RedactionPlanTest, ManualBoxesAloneMakeAPlanOfExactlyThoseBoxes)
{
    const QList<Detection> manual{makeManual({0.1, 0.1, 0.1, 0.1}), makeManual({0.5, 0.6, 0.1, 0.1}),
                                  makeManual({0.3, 0.3, 0.1, 0.1})};
    const RedactionPlan plan({}, {}, manual);
    EXPECT_EQ(idsOf(plan.detections()), (QList<QUuid>{manual[1].id, manual[2].id, manual[0].id}));
    for (const RedactionPlanEntry &entry : plan.entries())
        EXPECT_TRUE(entry.isActive);
    EXPECT_EQ(plan.activeDetections().size(), 3);
}

TEST(RedactionPlanTest, IgnoredFindingsStartInactive)
{
    Detection redact = makeFinding({0.1, 0.7, 0.1, 0.1});
    Detection review = makeFinding({0.1, 0.5, 0.1, 0.1});
    review.suggestedAction = DetectionSuggestedAction::review;
    Detection ignore = makeFinding({0.1, 0.3, 0.1, 0.1});
    ignore.suggestedAction = DetectionSuggestedAction::ignore;
    const RedactionPlan plan({redact, review, ignore}, {}, {});
    ASSERT_EQ(plan.entries().size(), 3);
    EXPECT_TRUE(plan.entries()[0].isActive);
    EXPECT_TRUE(plan.entries()[1].isActive);
    EXPECT_FALSE(plan.entries()[2].isActive);
    EXPECT_EQ(idsOf(plan.activeDetections()), (QList<QUuid>{redact.id, review.id}));
}

TEST(RedactionPlanTest, EmptyPlanIsShared)
{
    EXPECT_TRUE(RedactionPlan::empty().entries().isEmpty());
    EXPECT_EQ(&RedactionPlan::empty(), &RedactionPlan::empty());
    EXPECT_EQ(RedactionPlan({}, {}, {}), RedactionPlan::empty());
}

// --- Manual rectangles ----------------------------------------------------------------

struct ManualBoundsRow {
    const char *name;
    NormRect input;
    std::optional<NormRect> expected;
};

class ManualBoundsTest : public ::testing::TestWithParam<ManualBoundsRow> {};

TEST_P(ManualBoundsTest, ClampsAndEnforcesTheMinimumSize)
{
    const auto &row = GetParam();
    const auto result = RedactionPlan::sanitizedManualBounds(row.input);
    ASSERT_EQ(result.has_value(), row.expected.has_value());
    if (row.expected) {
        EXPECT_TRUE(rectNear(*result, *row.expected));
    }
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Rows, ManualBoundsTest, ::testing::Values(
    ManualBoundsRow{"inside", {0.2, 0.3, 0.1, 0.1}, NormRect{0.2, 0.3, 0.1, 0.1}},
    ManualBoundsRow{"clampedLeft", {-0.1, 0.5, 0.3, 0.2}, NormRect{0, 0.5, 0.2, 0.2}},
    ManualBoundsRow{"tooNarrowAfterClamping", {0.9995, 0.5, 0.1, 0.1}, std::nullopt},
    ManualBoundsRow{"exactlyTheMinimum", {0.5, 0.5, 0.002, 0.002}, NormRect{0.5, 0.5, 0.002, 0.002}},
    ManualBoundsRow{"tooLow", {0.5, 0.5, 0.1, 0.0019}, std::nullopt},
    ManualBoundsRow{"draggedBackwards", {0.5, 0.6, -0.2, -0.3}, NormRect{0.3, 0.3, 0.2, 0.3}},
    ManualBoundsRow{"whollyOutside", {1.5, 0.5, 0.2, 0.2}, std::nullopt},
    ManualBoundsRow{"notANumber", {0.1, 0.1, kNaN, 0.2}, std::nullopt},
    ManualBoundsRow{"null", NormRect::null(), std::nullopt}),
    test::rowName);

TEST(RedactionPlanTest, AddManualRedactionClampsSortsAndActivates)
{
    RedactionPlan plan({makeFinding({0.1, 0.4, 0.1, 0.1})}, {}, {});
    const auto id = plan.addManualRedaction(kManualLabel, kManualReason, {-0.1, 0.5, 0.3, 0.2});
    ASSERT_TRUE(id.has_value());
    ASSERT_EQ(plan.entries().size(), 2);
    const RedactionPlanEntry &added = plan.entries().first();
    EXPECT_EQ(added.id(), *id);
    EXPECT_TRUE(added.isActive);
    EXPECT_TRUE(rectNear(added.detection.normalizedBounds, {0, 0.5, 0.2, 0.2}));
    EXPECT_EQ(added.detection.source, DetectionSource::user);
    EXPECT_EQ(added.detection.kind, DetectionKind::unknown);
    EXPECT_EQ(added.detection.boundsPrecision, DetectionBoundsPrecision::manual);
    EXPECT_EQ(added.detection.suggestedAction, DetectionSuggestedAction::redact);
    EXPECT_EQ(added.detection.confidence, 1.0);
    EXPECT_EQ(added.detection.label, kManualLabel);
    EXPECT_EQ(added.detection.reason, kManualReason);
    EXPECT_FALSE(added.detection.hasAdjustedBounds());

    const RedactionPlan before = plan;
    EXPECT_FALSE(plan.addManualRedaction(kManualLabel, kManualReason, {0.9995, 0.5, 0.1, 0.1}).has_value());
    EXPECT_EQ(plan, before);
}

// --- Adjusting, resetting, removing -------------------------------------------------------

TEST(RedactionPlanTest, AdjustingAnAutomaticFindingKeepsItsOriginals)
{
    Detection finding = makeFinding({0.1, 0.1, 0.2, 0.05});
    finding.reason = QStringLiteral("Matched a local custom term.");
    finding.source = DetectionSource::deterministic;
    finding.boundsPrecision = DetectionBoundsPrecision::lineFallback;
    RedactionPlan plan({finding}, {}, {});
    plan.setActive(false, finding.id);

    ASSERT_TRUE(plan.updateBounds(finding.id, {0.2, 0.2, 0.2, 0.05}));
    Detection adjusted = plan.entries().first().detection;
    EXPECT_EQ(adjusted.reason, QStringLiteral("Matched a local custom term. Bounds adjusted by the user."));
    EXPECT_EQ(adjusted.source, DetectionSource::user);
    EXPECT_EQ(adjusted.boundsPrecision, DetectionBoundsPrecision::manual);
    EXPECT_EQ(adjusted.originalNormalizedBounds, finding.normalizedBounds);
    EXPECT_EQ(adjusted.originalSource, DetectionSource::deterministic);
    EXPECT_EQ(adjusted.originalReason, finding.reason);
    EXPECT_EQ(adjusted.originalBoundsPrecision, DetectionBoundsPrecision::lineFallback);
    EXPECT_FALSE(plan.entries().first().isActive);

    ASSERT_TRUE(plan.updateBounds(finding.id, {0.4, 0.4, 0.2, 0.05}));
    const Detection again = plan.entries().first().detection;
    EXPECT_TRUE(rectNear(again.normalizedBounds, {0.4, 0.4, 0.2, 0.05}));
    EXPECT_EQ(again.reason, adjusted.reason);
    EXPECT_EQ(again.originalNormalizedBounds, adjusted.originalNormalizedBounds);
    EXPECT_EQ(again.originalReason, adjusted.originalReason);

    ASSERT_TRUE(plan.resetBounds(finding.id));
    EXPECT_EQ(plan.entries().first().detection, finding);
    EXPECT_FALSE(plan.entries().first().isActive);
}

TEST(RedactionPlanTest, AdjustingADrawnBoxKeepsItsReasonAndResetsToWhereItWasDrawn)
{
    RedactionPlan plan;
    const QUuid id = *plan.addManualRedaction(kManualLabel, kManualReason, {0.1, 0.1, 0.2, 0.2});
    const Detection drawn = plan.entries().first().detection;
    ASSERT_TRUE(plan.updateBounds(id, {0.3, 0.3, 0.2, 0.2}));
    const Detection moved = plan.entries().first().detection;
    EXPECT_EQ(moved.reason, kManualReason);
    EXPECT_EQ(moved.originalNormalizedBounds, drawn.normalizedBounds);
    ASSERT_TRUE(plan.resetBounds(id));
    EXPECT_EQ(plan.entries().first().detection, drawn);
}

TEST(RedactionPlanTest, AnAdjustedFindingBecomesAManualBox)
{
    const Detection finding = makeFinding({0.1, 0.1, 0.2, 0.05});
    const Detection other = makeFinding({0.5, 0.5, 0.2, 0.05});
    RedactionPlan plan({finding, other}, {}, {});
    ASSERT_TRUE(plan.updateBounds(finding.id, {0.1, 0.105, 0.2, 0.05}));
    ASSERT_EQ(plan.manualDetections().size(), 1);
    EXPECT_EQ(plan.manualDetections().first().id, finding.id);

    // A re-scan passes it back as a manual box; its adjusted box absorbs the fresh finding.
    Detection rescanned = finding;
    rescanned.id = QUuid::createUuid();
    const RedactionPlan rebuilt({rescanned, other}, {}, plan.manualDetections());
    EXPECT_EQ(idsOf(rebuilt.detections()), (QList<QUuid>{other.id, finding.id}));

    EXPECT_TRUE(plan.removeEntry(finding.id));
    EXPECT_EQ(idsOf(plan.detections()), QList<QUuid>{other.id});
}

TEST(RedactionPlanTest, RefusedEditsLeaveThePlanUnchanged)
{
    const Detection finding = makeFinding({0.1, 0.1, 0.2, 0.05});
    RedactionPlan plan({finding}, {}, {});
    const RedactionPlan before = plan;
    EXPECT_FALSE(plan.removeEntry(finding.id));
    EXPECT_FALSE(plan.resetBounds(finding.id));
    EXPECT_FALSE(plan.updateManualRedactionBounds(finding.id, {0.3, 0.3, 0.1, 0.1}));
    EXPECT_FALSE(plan.updateBounds(finding.id, {0.3, 0.3, 0.001, 0.1}));
    EXPECT_FALSE(plan.updateBounds(QUuid::createUuid(), {0.3, 0.3, 0.1, 0.1}));
    EXPECT_FALSE(plan.removeEntry(QUuid::createUuid()));
    plan.setActive(false, QUuid::createUuid());
    EXPECT_EQ(plan, before);
}

TEST(RedactionPlanTest, MovingAUserBoxChangesOnlyItsBoundsAndKeepsReadingOrder)
{
    RedactionPlan plan({makeFinding({0.1, 0.5, 0.2, 0.05})}, {}, {});
    const QUuid id = *plan.addManualRedaction(kManualLabel, kManualReason, {0.1, 0.1, 0.2, 0.2});
    Detection expected = plan.entries().last().detection;
    ASSERT_TRUE(plan.updateManualRedactionBounds(id, {0.1, 0.7, 0.2, 0.2}));
    Detection moved = plan.entries().first().detection;
    EXPECT_TRUE(rectNear(moved.normalizedBounds, {0.1, 0.7, 0.2, 0.2}));
    moved.normalizedBounds = expected.normalizedBounds;
    EXPECT_EQ(moved, expected);
}

TEST(RedactionPlanTest, TogglingNeverReorders)
{
    const QList<Detection> findings{makeFinding({0.1, 0.7, 0.1, 0.1}), makeFinding({0.1, 0.5, 0.1, 0.1}),
                                    makeFinding({0.1, 0.3, 0.1, 0.1})};
    RedactionPlan plan(findings, {}, {});
    const RedactionPlan copy = plan.settingActive(false, findings[1].id);
    EXPECT_TRUE(plan.entries()[1].isActive);
    EXPECT_FALSE(copy.entries()[1].isActive);
    EXPECT_EQ(idsOf(copy.detections()), idsOf(findings));
    plan.setActive(false, findings[0].id);
    EXPECT_EQ(idsOf(plan.detections()), idsOf(findings));
    EXPECT_EQ(idsOf(plan.activeDetections()), (QList<QUuid>{findings[1].id, findings[2].id}));
}

} // namespace
