#include "app/window/help_sheet_host.h"

#include "support/manual_clock.h"
#include "support/temp_settings.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

struct HostFixture : ::testing::Test {
    test::TempSettings settings;
    test::ManualClock clock;
    int samplesLoaded = 0;
    int settingsOpened = 0;
    HelpSheetHost host{*settings, clock, {[this] { ++samplesLoaded; }, [this] { ++settingsOpened; }}};
};

TEST_F(HostFixture, OnboardingAppearsOnceUntilCompleted)
{
    host.presentOnboardingIfNeeded();
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt); // Asynchronously, on the next turn.
    clock.advance(0ms);
    EXPECT_EQ(host.activeHelpSheet(), VelmoraHelpSheet::onboarding);
    host.handleHelpSheetDismiss();
    EXPECT_TRUE(host.didCompleteOnboarding());
    EXPECT_EQ(host.lastPresentedHelpSheet(), std::nullopt);
    host.presentOnboardingIfNeeded();
    clock.advance(0ms);
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
}

TEST_F(HostFixture, DismissingTheHelpCentreDoesNotCompleteOnboarding)
{
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    host.handleHelpSheetDismiss();
    EXPECT_FALSE(host.didCompleteOnboarding());
}

TEST_F(HostFixture, SwitchingDismissesFirstAndPresentsAQuarterSecondLater)
{
    host.showHelpSheet(VelmoraHelpSheet::onboarding);
    host.openHelpFromOnboarding();
    EXPECT_TRUE(host.didCompleteOnboarding());
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    clock.advance(249ms);
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    clock.advance(1ms);
    EXPECT_EQ(host.activeHelpSheet(), VelmoraHelpSheet::helpCenter);
    EXPECT_EQ(host.lastPresentedHelpSheet(), VelmoraHelpSheet::helpCenter);
}

TEST_F(HostFixture, DelayedActionsRunAfterTheirDelays)
{
    host.showHelpSheet(VelmoraHelpSheet::onboarding);
    host.trySampleFromOnboarding();
    clock.advance(349ms);
    EXPECT_EQ(samplesLoaded, 0);
    clock.advance(1ms);
    EXPECT_EQ(samplesLoaded, 1);

    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    host.openSettingsFromHelp();
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    clock.advance(250ms);
    EXPECT_EQ(settingsOpened, 1);
}

TEST_F(HostFixture, ShowReplacesASheetAtOnce)
{
    host.showHelpSheet(VelmoraHelpSheet::onboarding);
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    EXPECT_EQ(host.activeHelpSheet(), VelmoraHelpSheet::helpCenter);
    host.closeHelpSheet();
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    EXPECT_EQ(host.lastPresentedHelpSheet(), VelmoraHelpSheet::helpCenter);
}

} // namespace
