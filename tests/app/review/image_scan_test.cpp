#include "app/review/image_scan.h"

#include "support/detection_fixtures.h"
#include "support/event_loop.h"
#include "support/fake_scan_engine.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using test::drainEvents;

// The review's side of a scan: the orchestration itself is the engine's (runScan);
// here, what reaches the review and when.
class ImageScan : public ::testing::Test
{
protected:
    void start(QObject *owner)
    {
        ScanRequest request{QImage(40, 30, QImage::Format_RGB32), SensitiveTextDetector(CustomDetectionConfiguration()),
                            {}, {}};
        scanImage(engine, owner, std::move(request), [this] { return preferences; }, {},
                  [this](ScanOutcome outcome) { outcomes.push_back(std::move(outcome)); });
    }

    test::FakeScanEngine engine;
    QObject context;
    DetectorCategoryPreferences preferences;
    std::vector<ScanOutcome> outcomes;
};

TEST_F(ImageScan, ReadsThePreferencesWhenTheScanStarts)
{
    preferences.setEnabled(false, DetectorCategory::faces);
    start(&context);
    preferences.setEnabled(true, DetectorCategory::faces);
    ASSERT_EQ(engine.callCount(), 1);
    EXPECT_FALSE(engine.lastCall().preferences.isEnabled(DetectorCategory::faces));
}

TEST_F(ImageScan, ReportsThePlanFromTheEventLoop)
{
    start(&context);
    engine.lastCall().finish({test::makeFace({0.05, 0.7, 0.2, 0.2})});
    EXPECT_TRUE(outcomes.empty());
    drainEvents();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(std::get<ScannedPlan>(outcomes[0]).plan.entries().size(), 1);
}

TEST_F(ImageScan, NothingIsReportedOnceTheContextIsGone)
{
    auto owner = std::make_unique<QObject>();
    start(owner.get());
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
