#include "app/review/review_walk.h"

#include "app/panes/review_harness.h"
#include "core/settings/detection_settings.h"

#include "support/plan_ids.h"
#include "support/row_name.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;

namespace {

class PanesOperations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        email = findingAt(0);
        lowConfidence = findingAt(1, DetectionKind::apiKey, QStringLiteral("API key"), 0.5);
        phone = findingAt(2, DetectionKind::phoneNumber, QStringLiteral("Phone"));
        harness.loadPlan({email, lowConfidence, phone});
    }

    ReviewHarness harness;
    Detection email, lowConfidence, phone;
};

} // namespace

struct WalkRow {
    const char *name;
    qsizetype count;
    std::optional<qsizetype> current;
    int step;
    std::optional<qsizetype> expected;
};

class AdjacentPosition : public ::testing::TestWithParam<WalkRow> {};

TEST_P(AdjacentPosition, WrapsAtBothEnds)
{
    const WalkRow &row = GetParam();
    EXPECT_EQ(adjacentPosition(row.count, row.current, row.step), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, AdjacentPosition, ::testing::Values(
    WalkRow{"emptyList", 0, std::nullopt, 1, std::nullopt},
    WalkRow{"downFromNothingIsFirst", 3, std::nullopt, 1, 0},
    WalkRow{"upFromNothingIsLast", 3, std::nullopt, -1, 2},
    WalkRow{"downFromLastWraps", 3, 2, 1, 0},
    WalkRow{"upFromFirstWraps", 3, 0, -1, 2},
    WalkRow{"middle", 3, 1, 1, 2},
    WalkRow{"singleItemStays", 1, 0, 1, 0}),
    test::rowName);

TEST_F(PanesOperations, FilterChangeClearsOnlyAHiddenSelection)
{
    harness.controller.selectDetection(lowConfidence.id);
    harness.controller.selectFindingFilter(FindingFilter::needsReview);
    EXPECT_EQ(harness.state().selectedDetectionID(), lowConfidence.id); // still listed under Check

    harness.controller.selectFindingFilter(FindingFilter::off);
    EXPECT_FALSE(harness.state().selectedDetectionID()); // every finding is active: hidden
    EXPECT_EQ(harness.state().findingFilter, FindingFilter::off);
}

TEST_F(PanesOperations, PreviousAndNextWalkEveryEntryAndWrap)
{
    harness.controller.selectFindingFilter(FindingFilter::needsReview); // walking ignores the filter
    harness.controller.selectAdjacentFinding(-1);
    EXPECT_EQ(harness.state().selectedDetectionID(), phone.id) << "from nothing, previous is the last";
    harness.controller.selectAdjacentFinding(1);
    EXPECT_EQ(harness.state().selectedDetectionID(), email.id);
    harness.controller.selectAdjacentFinding(1);
    EXPECT_EQ(harness.state().selectedDetectionID(), lowConfidence.id);
    harness.controller.selectAdjacentFinding(-1);
    harness.controller.selectAdjacentFinding(-1);
    EXPECT_EQ(harness.state().selectedDetectionID(), phone.id);
}

TEST_F(PanesOperations, InclusionChangesKeepOrderAndMakeNoEditHistoryStep)
{
    const QList<QUuid> order = entryIDs(harness.plan());
    harness.controller.setFindingsActive(false, {phone.id, email.id});
    EXPECT_FALSE(harness.plan().entries().at(0).isActive);
    EXPECT_TRUE(harness.plan().entries().at(1).isActive);
    EXPECT_FALSE(harness.plan().entries().at(2).isActive);
    harness.controller.setFindingsActive(false, {lowConfidence.id});
    harness.controller.selectDetection(email.id);
    harness.controller.toggleSelectedFindingActive();
    EXPECT_TRUE(harness.plan().entries().at(0).isActive);
    harness.controller.setAllFindingsIncluded(false);

    EXPECT_EQ(entryIDs(harness.plan()), order);
    EXPECT_FALSE(harness.state().manualEditHistory().canUndo());
    // The item on screen holds the change too.
    EXPECT_EQ(harness.state().batch.items().first().redactionPlan(), harness.plan());
    EXPECT_EQ(harness.state().reviewStatusNote(), reviewHint(harness.plan()));
}

TEST_F(PanesOperations, ToggleWithoutSelectionDoesNothing)
{
    const RedactionPlan before = harness.plan();
    harness.controller.toggleSelectedFindingActive();
    EXPECT_EQ(harness.plan(), before);
}

struct BlankRow {
    const char *name;
    std::optional<QString> matchedText;
};

class RememberBlank : public ::testing::TestWithParam<BlankRow> {};

TEST_P(RememberBlank, ChangesNothing)
{
    ReviewHarness harness;
    Detection finding = findingAt(0);
    finding.matchedText = GetParam().matchedText;
    harness.loadPlan({finding});
    const QString note = harness.state().reviewStatusNote();
    harness.controller.rememberFindingAsSafe(harness.plan().entries().first());
    EXPECT_TRUE(harness.plan().entries().first().isActive);
    EXPECT_EQ(harness.state().reviewStatusNote(), note);
    EXPECT_FALSE(harness.settings->contains(Setting::allowlistText));
}

INSTANTIATE_TEST_SUITE_P(Rows, RememberBlank, ::testing::Values(
    BlankRow{"noMatchedText", std::nullopt}, BlankRow{"onlySpaces", QStringLiteral("  \n\t ")}),
    test::rowName);

TEST(RememberAsSafe, AppendsTrimmedTextToCleanedLinesAndRescans)
{
    ReviewHarness harness;
    harness.settings->setValue(Setting::allowlistText, QStringLiteral("  first \n\n second\n"));
    Detection finding = findingAt(0);
    finding.matchedText = QStringLiteral("  Dana@Example.com \n");
    harness.loadPlan({finding});
    const int scansBefore = harness.engine.callCount();

    harness.controller.rememberFindingAsSafe(harness.plan().entries().first());
    EXPECT_EQ(harness.settings->value(Setting::allowlistText), QStringLiteral("first\nsecond\nDana@Example.com"));
    EXPECT_FALSE(harness.plan().entries().first().isActive);
    // The stored change starts the settings re-scan, whose note is the last word.
    EXPECT_EQ(harness.state().reviewStatusNote(), ReviewText::customSettingsChanged);
    harness.clock.advance(650ms);
    EXPECT_EQ(harness.engine.callCount(), scansBefore + 1);
}

TEST(RememberAsSafe, TextKnownInAnotherCaseLeavesTheAllowlistButMarksVisible)
{
    ReviewHarness harness;
    const QString stored = QStringLiteral(" DANA@example.com \nother");
    harness.settings->setValue(Setting::allowlistText, stored);
    Detection finding = findingAt(0);
    finding.matchedText = QStringLiteral("dana@EXAMPLE.com");
    harness.loadPlan({finding});

    harness.controller.rememberFindingAsSafe(harness.plan().entries().first());
    EXPECT_EQ(harness.settings->value(Setting::allowlistText), stored);
    EXPECT_FALSE(harness.plan().entries().first().isActive);
    EXPECT_EQ(harness.state().reviewStatusNote(), ReviewText::rememberedAsSafe);
}

TEST_F(PanesOperations, DetectorDispositionIsStoredByLabelAndARescanFollows)
{
    const int scansBefore = harness.engine.callCount();
    harness.controller.setDetectorDisposition(RedactionPolicyDisposition::ignore, harness.plan().entries().at(1));
    const DetectorCategoryPreferences stored =
        decodeDetectorCategoryPreferences(harness.settings->value(Setting::detectorCategoryPreferencesData));
    EXPECT_EQ(stored.detectorDisposition(u"API key"), RedactionPolicyDisposition::ignore);
    EXPECT_FALSE(stored.detectorDisposition(u"Email"));
    EXPECT_EQ(harness.state().reviewStatusNote(), ReviewText::customSettingsChanged);
    harness.clock.advance(649ms);
    EXPECT_EQ(harness.engine.callCount(), scansBefore);
    harness.clock.advance(1ms);
    EXPECT_EQ(harness.engine.callCount(), scansBefore + 1);

    // The same choice again still re-scans.
    harness.engine.lastCall().finish();
    harness.controller.setDetectorDisposition(RedactionPolicyDisposition::ignore, harness.plan().entries().at(0));
    harness.clock.advance(650ms);
    EXPECT_EQ(harness.engine.callCount(), scansBefore + 2);
}

TEST(DetectorDisposition, WithoutAnImageOnlyStoresAndSaysSo)
{
    ReviewHarness harness;
    RedactionPlanEntry entry{findingAt(0, DetectionKind::phoneNumber, QStringLiteral("Phone")), true};
    harness.controller.setDetectorDisposition(RedactionPolicyDisposition::needsReview, entry);
    EXPECT_EQ(harness.state().reviewStatusNote(), QStringLiteral("Phone set to Review. Current image will re-scan."));
    const DetectorCategoryPreferences stored =
        decodeDetectorCategoryPreferences(harness.settings->value(Setting::detectorCategoryPreferencesData));
    EXPECT_EQ(stored.detectorDisposition(u"Phone"), RedactionPolicyDisposition::needsReview);
}

namespace {

class BatchOperations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ReviewDocument withSecret = fileItem(QStringLiteral("a.png"), 10);
        withSecret.adoptOwnPlan(RedactionPlan({findingAt(0, DetectionKind::apiKey, QStringLiteral("API key"))}, {}, {}), {});
        ReviewDocument clean = fileItem(QStringLiteral("b.png"), 20);
        ReviewDocument withEmail = fileItem(QStringLiteral("c.png"), 30);
        withEmail.adoptOwnPlan(RedactionPlan({findingAt(0)}, {}, {}), {});
        harness.load({withSecret, clean, withEmail});
        ids = {withSecret.id(), clean.id(), withEmail.id()};
    }

    ReviewHarness harness;
    QList<QUuid> ids;
};

} // namespace

TEST_F(BatchOperations, FiltersAndStepsShowAVisibleImage)
{
    harness.controller.selectBatchCategory(FindingCategory::emails);
    EXPECT_EQ(harness.state().batch.selectedID(), ids[2]); // the only visible item is chosen
    harness.controller.selectBatchFilter(BatchReviewFilter::clean);
    harness.drainScans();
    EXPECT_EQ(harness.state().batch.selectedID(), ids[1]);
    EXPECT_EQ(harness.state().image(), plainImage(20));
    harness.controller.selectBatchFilter(BatchReviewFilter::all);
    harness.controller.selectAdjacentBatchItem(1);
    EXPECT_EQ(harness.state().batch.selectedID(), ids[2]);
}

TEST_F(BatchOperations, ChoosingTheCurrentItemOnlyMarksItReviewed)
{
    harness.controller.setAllFindingsIncluded(false); // a live change that a reload would lose
    harness.controller.selectBatchItem(ids[0]);
    EXPECT_FALSE(harness.plan().entries().first().isActive);
    EXPECT_TRUE(harness.state().batch.items().first().didReviewInBatch());
}

TEST_F(BatchOperations, LeavingAnImageWhileItsScanRunsCancelsIt)
{
    harness.controller.startDetection();
    ASSERT_TRUE(harness.state().isChecking());
    harness.controller.selectBatchItem(ids[2]);
    EXPECT_FALSE(harness.state().isChecking());
    EXPECT_EQ(harness.state().batch.selectedID(), ids[2]);
    const ReviewDocument &left = harness.state().batch.items().first();
    EXPECT_EQ(left.reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_FALSE(left.isChecking());
    // The late result of the cancelled scan is dropped.
    harness.engine.lastCall().finish();
    EXPECT_EQ(harness.state().batch.selectedID(), ids[2]);
}
