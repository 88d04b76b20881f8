#include "app/review/image_scan.h"

#include "support/detection_fixtures.h"
#include "support/event_loop.h"
#include "support/fake_scan_engine.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::drainEvents;

class ImageScan : public ::testing::Test
{
protected:
    void start(TaskHandle task = {})
    {
        ScanRequest request{QImage(40, 30, QImage::Format_RGB32), SensitiveTextDetector(CustomDetectionConfiguration()),
                            {manualOn, manualOff}, {{manualOn.id, true}, {manualOff.id, false}}};
        scanImage(engine, &context, std::move(request), [this] { return preferences; }, task,
                  [this](ScanOutcome outcome) { outcomes.push_back(std::move(outcome)); });
    }

    const RedactionPlan &plan() { return std::get<ScannedPlan>(outcomes.at(0)).plan; }

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
    QObject context;
    DetectorCategoryPreferences preferences;
    Detection manualOn = manualBox(0.1);
    Detection manualOff = manualBox(0.4);
    Detection face = test::makeFace({0.05, 0.7, 0.2, 0.2});
    QList<TextObservation> emailLine{TextObservation(QStringLiteral("mail ada@example.com now"), {0.1, 0.5, 0.6, 0.05}, 0.95)};
    std::vector<ScanOutcome> outcomes;
};

TEST_F(ImageScan, BuildsThePlanFromTextVisualAndManualBoxes)
{
    preferences.setEnabled(false, DetectorCategory::visualCodes);
    start();
    ASSERT_EQ(engine.callCount(), 1);
    EXPECT_EQ(engine.lastCall().preferences, preferences);
    engine.lastCall().finish({face}, emailLine);
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    QStringList labels;
    for (const RedactionPlanEntry &entry : plan().entries())
        labels << entry.detection.label + (entry.isActive ? "+" : "-");
    EXPECT_EQ(labels, (QStringList{"Face+", "Email+", "Email-", "Email+"}));
    EXPECT_EQ(plan().manualDetections(), (QList<Detection>{manualOff, manualOn}));
}

TEST_F(ImageScan, VisualBeforeTextGivesTheSamePlan)
{
    start();
    engine.lastCall().finishVisual({face});
    drainEvents();
    EXPECT_TRUE(outcomes.empty());
    engine.lastCall().finishText(emailLine);
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(plan().entries().size(), 4);
}

TEST_F(ImageScan, TextFailureIsReportedOnlyAfterVisualDetectionEnds)
{
    start();
    engine.lastCall().failText();
    drainEvents();
    EXPECT_TRUE(outcomes.empty());
    engine.lastCall().finishVisual({face});
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(std::get<VelmoraCoreError>(outcomes[0]), VelmoraCoreError::textRecognitionFailed);
}

TEST_F(ImageScan, TheEngineErrorIsPassedOnAsItCame)
{
    start();
    engine.lastCall().failText(VelmoraCoreError::invalidImageData);
    engine.lastCall().finishVisual();
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(std::get<VelmoraCoreError>(outcomes[0]), VelmoraCoreError::invalidImageData);
}

TEST_F(ImageScan, VisualFailureDropsTheTextFindings)
{
    start();
    engine.lastCall().finishText(emailLine);
    engine.lastCall().failVisual();
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(std::get<VelmoraCoreError>(outcomes[0]), VelmoraCoreError::visualDetectionFailed);
}

TEST_F(ImageScan, CancelledTaskBuildsNoPlan)
{
    TaskHandle task;
    start(task);
    task.cancel();
    engine.lastCall().finish({face}, emailLine);
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(std::holds_alternative<ScanCancelled>(outcomes[0]));
}

TEST_F(ImageScan, NothingIsReportedOnceTheContextIsGone)
{
    auto owner = std::make_unique<QObject>();
    ScanRequest request{QImage(4, 4, QImage::Format_RGB32), SensitiveTextDetector(CustomDetectionConfiguration()), {}, {}};
    scanImage(engine, owner.get(), std::move(request), [] { return DetectorCategoryPreferences(); }, {},
              [this](ScanOutcome outcome) { outcomes.push_back(std::move(outcome)); });
    owner.reset();
    engine.lastCall().finish();
    drainEvents();
    EXPECT_TRUE(outcomes.empty());
}

TEST(ManualBoxesPlan, KeepsEachBoxInItsState)
{
    Detection a = test::makeFinding({0.1, 0.1, 0.2, 0.1});
    Detection b = test::makeFinding({0.5, 0.5, 0.2, 0.1});
    const RedactionPlan plan = manualBoxesPlan({a, b}, {{a.id, false}, {QUuid::createUuid(), false}});
    ASSERT_EQ(plan.entries().size(), 2);
    EXPECT_TRUE(plan.entries()[0].isActive);
    EXPECT_FALSE(plan.entries()[1].isActive);
}

} // namespace
} // namespace velmora
