#include "core/analysis/scan/scan_run.h"

#include "support/detection_fixtures.h"
#include "support/fake_scan_engine.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

// The orchestration over an engine whose steps the test completes, in either order.
class ScanRun : public ::testing::Test
{
protected:
    void start()
    {
        ScanRequest request{QImage(40, 30, QImage::Format_RGB32), SensitiveTextDetector(CustomDetectionConfiguration()),
                            {manualOn, manualOff}, {{manualOn.id, true}, {manualOff.id, false}}};
        report = runScan(engine, std::move(request), preferences, task);
    }

    ScanOutcome outcome()
    {
        EXPECT_TRUE(report.isFinished());
        return report.result().outcome;
    }
    RedactionPlan plan() { return std::get<ScannedPlan>(outcome()).plan; }

    static Detection manualBox(double bottom)
    {
        Detection box = test::makeFinding({0.6, bottom, 0.2, 0.1});
        box.source = DetectionSource::user;
        box.kind = DetectionKind::unknown;
        box.boundsPrecision = DetectionBoundsPrecision::manual;
        box.confidence = 1.0;
        return box;
    }

    test::FakeScanEngine engine;
    TaskHandle task;
    DetectorCategoryPreferences preferences;
    QFuture<ScanReport> report;
    Detection manualOn = manualBox(0.1);
    Detection manualOff = manualBox(0.4);
    Detection face = test::makeFace({0.05, 0.7, 0.2, 0.2});
    QList<TextObservation> emailLine{TextObservation(QStringLiteral("mail ada@example.com now"), {0.1, 0.5, 0.6, 0.05}, 0.95)};
};

TEST_F(ScanRun, BuildsThePlanFromTextVisualAndManualBoxes)
{
    preferences.setEnabled(false, DetectorCategory::visualCodes);
    start();
    ASSERT_EQ(engine.callCount(), 1);
    EXPECT_EQ(engine.lastCall().preferences, preferences);
    engine.lastCall().finish({face}, emailLine);
    const RedactionPlan built = plan();
    QStringList labels;
    for (const RedactionPlanEntry &entry : built.entries())
        labels << entry.detection.label + (entry.isActive ? "+" : "-");
    EXPECT_EQ(labels, (QStringList{"Face+", "Email+", "Email-", "Email+"}));
    EXPECT_EQ(built.manualDetections(), (QList<Detection>{manualOff, manualOn}));
    EXPECT_EQ(report.result().lineCount, 1);
}

TEST_F(ScanRun, HandsTheTaskToTheEngine)
{
    start();
    ASSERT_EQ(engine.callCount(), 1);
    EXPECT_EQ(engine.lastCall().task, task);
}

TEST_F(ScanRun, VisualBeforeTextGivesTheSamePlan)
{
    start();
    engine.lastCall().finishVisual({face});
    EXPECT_FALSE(report.isFinished());
    engine.lastCall().finishText(emailLine);
    EXPECT_EQ(plan().entries().size(), 4);
}

TEST_F(ScanRun, TextFailureIsReportedOnlyAfterVisualDetectionEnds)
{
    start();
    engine.lastCall().failText();
    EXPECT_FALSE(report.isFinished());
    engine.lastCall().finishVisual({face});
    EXPECT_EQ(std::get<VelmoraCoreError>(outcome()), VelmoraCoreError::textRecognitionFailed);
}

TEST_F(ScanRun, TheEngineErrorIsPassedOnAsItCame)
{
    start();
    engine.lastCall().failText(VelmoraCoreError::invalidImageData);
    engine.lastCall().finishVisual();
    EXPECT_EQ(std::get<VelmoraCoreError>(outcome()), VelmoraCoreError::invalidImageData);
}

TEST_F(ScanRun, RecognitionFailureWinsOverVisualFailure)
{
    start();
    engine.lastCall().failVisual();
    engine.lastCall().failText();
    EXPECT_EQ(std::get<VelmoraCoreError>(outcome()), VelmoraCoreError::textRecognitionFailed);
}

TEST_F(ScanRun, VisualFailureDropsTheTextFindings)
{
    start();
    engine.lastCall().finishText(emailLine);
    engine.lastCall().failVisual();
    EXPECT_EQ(std::get<VelmoraCoreError>(outcome()), VelmoraCoreError::visualDetectionFailed);
}

TEST_F(ScanRun, AStepThatIsAbandonedReadsAsItsFailure)
{
    start();
    engine.lastCall().finishText(emailLine);
    // A step whose future ends without a value, as a cancelled future does.
    engine.lastCall().visual.future().cancel();
    engine.lastCall().visual.finish();
    EXPECT_EQ(std::get<VelmoraCoreError>(outcome()), VelmoraCoreError::visualDetectionFailed);
}

TEST_F(ScanRun, CancelledTaskBuildsNoPlan)
{
    start();
    task.cancel();
    engine.lastCall().finish({face}, emailLine);
    EXPECT_TRUE(std::holds_alternative<ScanCancelled>(outcome()));
}

} // namespace
} // namespace velmora
