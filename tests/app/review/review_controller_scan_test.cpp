#include "review_controller_fixture.h"

#include "app/review/review_queries.h"

#include "support/row_name.h"

using namespace std::chrono_literals;

namespace velmora {
namespace {

class ReviewScanRun : public test::ReviewControllerTest
{
};

TEST_F(ReviewScanRun, StartingWithoutAnImageChangesNothing)
{
    int changes = 0;
    QObject::connect(&controller, &ReviewController::changed, [&] { ++changes; });
    const QUuid runID = state().detectionRunID;
    controller.startDetection();
    EXPECT_EQ(engine.callCount(), 0);
    EXPECT_EQ(state().detectionRunID, runID);
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(changes, 0);
}

TEST_F(ReviewScanRun, ChecksWhileRunningAndAppliesThePlan)
{
    loadAndScan({test::fileItem("one.png")});
    EXPECT_TRUE(state().isChecking());
    EXPECT_EQ(state().batch.items()[0].statusText(), "Scanning");
    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    engine.lastCall().finish({face});
    drainScans();
    EXPECT_FALSE(state().isChecking());
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].detection, face);
    EXPECT_EQ(state().reviewStatusNote(), "Review the boxes, then export a cleaned image or copy a PNG.");
    EXPECT_EQ(state().batch.items()[0].redactionPlan(), state().redactionPlan());
    EXPECT_EQ(state().batch.items()[0].statusText(), "1 to redact");
}

// Slow custom patterns spend the image's pattern time on the first lines; the status says
// that some were skipped, and their findings need review.
TEST_F(ReviewScanRun, SaysWhenCustomPatternsWereSkipped)
{
    QStringList patterns;
    for (int i = 0; i < 20; ++i)
        patterns.append(QStringLiteral("(a+)+b%1|falcon").arg(i));
    settings->setValue(Setting::customRegexesText, patterns.join(u'\n'));
    loadAndScan({test::fileItem("one.png")});
    const QString bait = QString(40, u'a') + u'c';
    engine.lastCall().finish({}, {TextObservation(QStringLiteral("falcon ") + bait, {0.1, 0.5, 0.6, 0.05}, 0.95),
                                  TextObservation(bait, {0.1, 0.3, 0.6, 0.05}, 0.95)});
    drainScans();
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].detection.suggestedAction, DetectionSuggestedAction::review);
    EXPECT_TRUE(state().reviewStatusNote().endsWith(
        QStringLiteral(" Some custom patterns were skipped because they took too long.")))
        << state().reviewStatusNote().toStdString();
}

struct OrderRow
{
    const char *name;
    bool firstFinishesFirst;
};

class TwoStartsInARow : public test::ReviewControllerTest, public ::testing::WithParamInterface<OrderRow>
{
};

TEST_P(TwoStartsInARow, OnlyTheSecondPlanIsApplied)
{
    loadScanned({});
    controller.startDetection();
    controller.startDetection();
    ASSERT_EQ(engine.callCount(), 3);
    const Detection first = test::makeFace({0.1, 0.6, 0.2, 0.2});
    const Detection second = test::makeFace({0.5, 0.1, 0.2, 0.2});
    if (GetParam().firstFinishesFirst) {
        engine.call(1).finish({first});
        drainScans();
        EXPECT_TRUE(state().isChecking());
        EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
        engine.call(2).finish({second});
    } else {
        engine.call(2).finish({second});
        drainScans();
        engine.call(1).finish({first});
    }
    drainScans();
    EXPECT_FALSE(state().isChecking());
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].id(), second.id);
}

INSTANTIATE_TEST_SUITE_P(Rows, TwoStartsInARow,
                         ::testing::Values(OrderRow{"FirstFinishesFirst", true}, OrderRow{"SecondFinishesFirst", false}),
                         test::rowName);

TEST_F(ReviewScanRun, CancellingKeepsTheOldPlanAndDropsTheLateResult)
{
    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    loadScanned({face});
    controller.startDetection();
    controller.cancelRunningScans();
    EXPECT_FALSE(state().isChecking());
    EXPECT_FALSE(state().detectionTask);
    EXPECT_FALSE(state().batch.items()[0].isChecking());
    engine.lastCall().finish({test::makeFace({0.5, 0.1, 0.2, 0.2})});
    drainScans();
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].id(), face.id);
    EXPECT_FALSE(state().isChecking());
}

TEST_F(ReviewScanRun, RecognitionFailureReportsOnlyAfterVisualDetectionEnds)
{
    loadScanned({});
    controller.startDetection();
    engine.lastCall().failText();
    drainScans();
    EXPECT_TRUE(state().isChecking());
    EXPECT_FALSE(state().errorText());
    engine.lastCall().finishVisual({test::makeFace({0.1, 0.6, 0.2, 0.2})});
    drainScans();
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(state().errorText(), "Detection failed. Automated detections were cleared.");
}

struct FailureRow
{
    const char *name;
    bool withBoxes;
    const char *note;
};

class ScanFailure : public test::ReviewControllerTest, public ::testing::WithParamInterface<FailureRow>
{
};

TEST_P(ScanFailure, KeepsTheManualBoxesInTheirStates)
{
    const Detection kept = test::manualBox(0.1), switchedOff = test::manualBox(0.5);
    loadScanned({test::makeFace({0.1, 0.6, 0.2, 0.2}), kept, switchedOff});
    const bool withBoxes = GetParam().withBoxes;
    RedactionPlan plan = state().redactionPlan();
    plan.setActive(false, switchedOff.id);
    if (!withBoxes) {
        plan.removeEntry(kept.id);
        plan.removeEntry(switchedOff.id);
    }
    // A re-scan takes the boxes and their states from the current plan.
    controller.loadBatch({}, {}, 0, false);
    ReviewDocument item = test::fileItem("boxes.png");
    item.adoptOwnPlan(plan, std::nullopt);
    controller.loadBatch({item}, QStringLiteral("Image loaded."), 0, false);
    drainScans();
    controller.startDetection();
    engine.lastCall().failVisual();
    engine.lastCall().finishText();
    drainScans();
    QList<std::pair<QUuid, bool>> entries;
    for (const RedactionPlanEntry &entry : state().redactionPlan().entries())
        entries.append({entry.id(), entry.isActive});
    if (withBoxes)
        EXPECT_EQ(entries, (QList<std::pair<QUuid, bool>>{{switchedOff.id, false}, {kept.id, true}}));
    else
        EXPECT_TRUE(entries.isEmpty());
    EXPECT_EQ(state().errorText(), "Detection failed. Automated detections were cleared.");
    EXPECT_EQ(state().reviewStatusNote(), QString::fromUtf8(GetParam().note));
    EXPECT_EQ(state().batch.items()[0].statusText(), "Needs attention");
}

INSTANTIATE_TEST_SUITE_P(Rows, ScanFailure, ::testing::Values(
    FailureRow{"WithBoxes", true, "Review manual redactions or try Re-scan."},
    FailureRow{"WithoutBoxes", false, "Try Re-scan or draw a manual redaction."}),
    test::rowName);

TEST_F(ReviewScanRun, ASwitchedOffBoxStaysOffAfterARescan)
{
    const Detection box = test::manualBox(0.2);
    loadScanned({box});
    ReviewDocument item = state().batch.items()[0];
    item.setFindingsActive(false, {box.id});
    controller.loadBatch({item}, {}, 0, false);
    drainScans();
    controller.startDetection();
    engine.lastCall().finish({test::makeFace({0.1, 0.6, 0.2, 0.2})});
    drainScans();
    ASSERT_EQ(state().redactionPlan().entries().size(), 2);
    EXPECT_EQ(state().redactionPlan().entries()[1].id(), box.id);
    EXPECT_FALSE(state().redactionPlan().entries()[1].isActive);
}

TEST_F(ReviewScanRun, AResultOnScreenValidatesReportsAndPreviews)
{
    // A batch re-scan keeps the preview on, so its result runs the whole upkeep.
    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png")});
    engine.lastCall().finish({face});
    drainScans();
    engine.lastCall().finish();
    drainScans();
    controller.selectDetection(face.id);
    controller.setOutputPreview(true);
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(std::chrono::milliseconds(650));
    const Detection other = test::makeFace({0.5, 0.1, 0.4, 0.4});
    engine.lastCall().finish({other});
    drainScans();
    // The selection was checked, the status refreshed and the preview rendered from the
    // new plan, all in the item on screen.
    const ReviewDocument &written = state().batch.items()[0];
    EXPECT_FALSE(state().selectedDetectionID());
    EXPECT_FALSE(written.selectedDetectionID());
    EXPECT_EQ(written.reviewStatusNote(), "Review the boxes, then export a cleaned image or copy a PNG.");
    EXPECT_EQ(written.redactionPlan().entries()[0].id(), other.id);
    EXPECT_FALSE(written.isChecking());
    const QImage &preview = state().screen.preview();
    EXPECT_EQ(preview.pixelColor(int(0.7 * preview.width()), int(0.7 * preview.height())), QColor(Qt::black));
    EXPECT_NE(preview.pixelColor(int(0.2 * preview.width()), int(0.3 * preview.height())), QColor(Qt::black));
}

} // namespace
} // namespace velmora
