#include "review_controller_fixture.h"

#include "app/review/review_queries.h"

#include "core/settings/detection_settings.h"

using namespace std::chrono_literals;

namespace velmora {
namespace {

class SettingsRescan : public test::ReviewControllerTest
{
};

TEST_F(SettingsRescan, ABurstGivesOneRescanAfterTheLastChangeAndOnePost)
{
    loadScanned({});
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(200ms);
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(300ms);
    controller.applyCustomDetectionSettings(std::nullopt);
    EXPECT_EQ(state().reviewStatusNote(), "Custom settings changed. Re-scanning current image...");
    clock.advance(649ms);
    EXPECT_EQ(engine.callCount(), 1);
    clock.advance(1ms);
    ASSERT_EQ(engine.callCount(), 2);
    EXPECT_TRUE(state().isChecking());
    EXPECT_EQ(completionPosts, 0);
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(completionPosts, 1);
    clock.advance(5s);
    EXPECT_EQ(engine.callCount(), 2);
    controller.startDetection();
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(completionPosts, 1);
}

TEST_F(SettingsRescan, WithoutAnImageNothingHappens)
{
    const QString note = state().reviewStatusNote();
    controller.applyCustomDetectionSettings(std::nullopt);
    EXPECT_FALSE(state().customSettingsRescanTask);
    EXPECT_FALSE(state().shouldNotifyCustomSettingsRescanCompletion);
    EXPECT_EQ(state().reviewStatusNote(), note);
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(SettingsRescan, AFailedRescanIsNeverAnnounced)
{
    loadScanned({});
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(650ms);
    engine.lastCall().failText();
    engine.lastCall().finishVisual();
    drainScans();
    EXPECT_FALSE(state().shouldNotifyCustomSettingsRescanCompletion);
    controller.startDetection();
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(completionPosts, 0);
}

TEST_F(SettingsRescan, ANewBatchDropsThePendingAnnouncement)
{
    loadScanned({});
    controller.applyCustomDetectionSettings(std::nullopt);
    loadScanned({});
    EXPECT_FALSE(state().customSettingsRescanTask);
    clock.advance(1s);
    EXPECT_EQ(completionPosts, 0);
}

TEST_F(SettingsRescan, SeveralImagesAreRescannedAsABatchWithOnePost)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png")});
    engine.lastCall().finish();
    drainScans();
    engine.lastCall().finish();
    drainScans();
    ASSERT_EQ(engine.callCount(), 2);
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(650ms);
    ASSERT_EQ(engine.callCount(), 3);
    EXPECT_TRUE(isScanRunning(state()));
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(completionPosts, 0);
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(engine.callCount(), 4);
    EXPECT_EQ(completionPosts, 1);
    EXPECT_FALSE(isScanRunning(state()));
}

TEST_F(SettingsRescan, StoredAllowlistOrCategoryChangesRescan)
{
    loadScanned({});
    settings->setValue(Setting::customTermsText, QStringLiteral("Falcon"));
    EXPECT_FALSE(state().customSettingsRescanTask);
    EXPECT_EQ(state().detectionSettings.customTermsText, "Falcon");
    settings->setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    EXPECT_TRUE(state().customSettingsRescanTask);
    clock.advance(650ms);
    EXPECT_EQ(engine.callCount(), 2);
    settings->setValue(Setting::allowlistText, QStringLiteral("demo@example.com"));
    EXPECT_FALSE(state().customSettingsRescanTask);
    settings->setValue(Setting::detectorCategoryPreferencesData, QByteArray(R"({"disabledCategories":["faces"]})"));
    EXPECT_TRUE(state().customSettingsRescanTask);
}

TEST_F(SettingsRescan, TheScanUsesTheStoredSettings)
{
    settings->setValue(Setting::customTermsText, QStringLiteral("Falcon"));
    settings->setValue(Setting::detectorCategoryPreferencesData, QByteArray(R"({"disabledCategories":["faces"]})"));
    loadAndScan({test::fileItem("a.png")});
    EXPECT_FALSE(engine.lastCall().preferences.isEnabled(DetectorCategory::faces));
    engine.lastCall().finish({}, {TextObservation(QStringLiteral("Project Falcon launch"), {0.1, 0.5, 0.6, 0.05}, 0.9)});
    drainScans();
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].detection.label, "Custom term");
}

} // namespace
} // namespace velmora
