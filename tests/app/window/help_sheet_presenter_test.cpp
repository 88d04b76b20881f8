#include "app/help/quick_start_sample.h"
#include "app/help/velmora_help_center_view.h"
#include "app/help/velmora_onboarding_view.h"
#include "app/window/help_sheet_dialog.h"
#include "app/window/help_sheet_host.h"
#include "app/window/help_sheet_presenter.h"

#include "app/panes/review_harness.h"
#include "support/event_loop.h"
#include "support/row_name.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

namespace {

/// Runs what the sheets posted, deletions of sheets taken away included.
void settle()
{
    test::drainEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The help sheets over a window of their own, with the host on a manual clock and the
// sample loaded into a real review.
struct PresenterFixture : ::testing::Test {
    test::ReviewHarness review;
    int settingsOpened = 0;
    QWidget window;
    HelpSheetHost host{*review.settings, review.clock,
                       {[this] { loadQuickStartSample(review.controller.intake(), window.palette()); },
                        [this] { ++settingsOpened; }}};
    HelpSheetPresenter presenter{host, &window};

    void SetUp() override
    {
        window.resize(1000, 760);
        window.show();
    }

    HelpSheetDialog *sheet() const { return presenter.dialog(); }
    QPushButton *button(const char *identifier) const
    {
        return sheet() ? sheet()->findChild<QPushButton *>(QLatin1String(identifier)) : nullptr;
    }
    bool showsOnboarding() const { return sheet() && sheet()->findChild<VelmoraOnboardingView *>(); }
    VelmoraHelpCenterView *helpCenter() const { return sheet() ? sheet()->findChild<VelmoraHelpCenterView *>() : nullptr; }

    void presentOnboardingAtFirstStart()
    {
        host.presentOnboardingIfNeeded();
        review.clock.advance(0ms);
        ASSERT_TRUE(showsOnboarding());
    }
};

TEST_F(PresenterFixture, FirstStartShowsTheOnboardingSheetOverTheWindow)
{
    EXPECT_EQ(sheet(), nullptr);
    presentOnboardingAtFirstStart();
    EXPECT_TRUE(sheet()->isVisible());
    EXPECT_EQ(sheet()->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet()->parentWidget(), &window);
    EXPECT_EQ(sheet()->width(), 680);
}

struct DismissalRow {
    const char *name;
    std::function<void(HelpSheetDialog &)> dismiss;
};

class OnboardingDismissal : public PresenterFixture, public ::testing::WithParamInterface<DismissalRow>
{
};

TEST_P(OnboardingDismissal, CompletesOnboardingAndTakesTheSheetAway)
{
    presentOnboardingAtFirstStart();
    GetParam().dismiss(*sheet());
    settle();
    EXPECT_TRUE(host.didCompleteOnboarding());
    EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    EXPECT_EQ(host.lastPresentedHelpSheet(), std::nullopt);
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_TRUE(window.findChildren<HelpSheetDialog *>().isEmpty());
    // It does not come back by itself.
    host.presentOnboardingIfNeeded();
    review.clock.advance(0ms);
    EXPECT_EQ(sheet(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Dismissals, OnboardingDismissal,
    ::testing::Values(
        DismissalRow{"finishButton", [](HelpSheetDialog &d) { d.findChild<QPushButton *>("onboarding-finish-button")->click(); }},
        DismissalRow{"closeButton", [](HelpSheetDialog &d) { d.findChild<QPushButton *>("onboarding-close-button")->click(); }},
        DismissalRow{"escape", [](HelpSheetDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); }},
        DismissalRow{"returnPressesStart", [](HelpSheetDialog &d) { QTest::keyClick(&d, Qt::Key_Return); }},
        DismissalRow{"windowManagerClose", [](HelpSheetDialog &d) { d.close(); }}),
    test::rowName);

TEST_F(PresenterFixture, TrySampleLoadsTheSampleWithItsFindingAfterADelay)
{
    presentOnboardingAtFirstStart();
    button("onboarding-try-sample-button")->click();
    settle();
    EXPECT_TRUE(host.didCompleteOnboarding());
    EXPECT_EQ(sheet(), nullptr);
    review.clock.advance(349ms);
    EXPECT_TRUE(review.state().image().isNull());
    review.clock.advance(1ms);
    test::finishPoolWork();
    ASSERT_FALSE(review.state().image().isNull());
    EXPECT_EQ(review.state().image().size(), QSize(1120, 720));
    ASSERT_EQ(review.plan().entries().size(), 1);
    EXPECT_EQ(review.plan().entries().front().detection, quickStartSampleDetections().front());
    EXPECT_EQ(review.state().reviewStatusNote(), QuickStartSampleText::loaded);
    EXPECT_FALSE(review.state().isChecking());
    EXPECT_EQ(review.engine.callCount(), 0); // the sample is not scanned
}

TEST_F(PresenterFixture, HelpCenterFollowsTheOnboardingSheetAQuarterSecondLater)
{
    presentOnboardingAtFirstStart();
    button("onboarding-help-button")->click();
    settle();
    EXPECT_TRUE(host.didCompleteOnboarding());
    EXPECT_EQ(sheet(), nullptr);
    review.clock.advance(249ms);
    EXPECT_EQ(sheet(), nullptr);
    review.clock.advance(1ms);
    ASSERT_NE(helpCenter(), nullptr);
    EXPECT_EQ(helpCenter()->selectedTopic(), HelpTopic::gettingStarted);
    EXPECT_EQ(sheet()->size(), QSize(900, 680));
}

TEST_F(PresenterFixture, HelpCenterQuickStartSwitchesBackToOnboarding)
{
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    button("quick-start-from-help-button")->click();
    settle();
    EXPECT_EQ(sheet(), nullptr);
    review.clock.advance(250ms);
    EXPECT_TRUE(showsOnboarding());
}

TEST_F(PresenterFixture, HelpCenterSettingsButtonOpensTheSettingsAfterClosing)
{
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    button("open-settings-from-help-button")->click();
    settle();
    EXPECT_EQ(sheet(), nullptr);
    review.clock.advance(250ms);
    EXPECT_EQ(settingsOpened, 1);
}

TEST_F(PresenterFixture, EscapeAndDoneCloseTheHelpCenterWithoutCompletingOnboarding)
{
    for (const bool escape : {true, false}) {
        host.showHelpSheet(VelmoraHelpSheet::helpCenter);
        ASSERT_NE(helpCenter(), nullptr);
        if (escape)
            QTest::keyClick(sheet(), Qt::Key_Escape);
        else
            button("help-center-close-button")->click();
        settle();
        EXPECT_EQ(sheet(), nullptr);
        EXPECT_EQ(host.activeHelpSheet(), std::nullopt);
    }
    EXPECT_FALSE(host.didCompleteOnboarding());
}

TEST_F(PresenterFixture, ShowingAnotherSheetReplacesTheOneOnScreen)
{
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    QPointer<HelpSheetDialog> first = sheet();
    host.showHelpSheet(VelmoraHelpSheet::onboarding);
    settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(showsOnboarding());
    EXPECT_EQ(window.findChildren<HelpSheetDialog *>().size(), 1);
}

TEST(HelpSheetHostWithoutSettings, HelpCenterOffersNoSettingsButton)
{
    test::ReviewHarness review;
    QWidget window;
    HelpSheetHost host{*review.settings, review.clock, {[] {}, {}}};
    HelpSheetPresenter presenter{host, &window};
    host.showHelpSheet(VelmoraHelpSheet::helpCenter);
    ASSERT_NE(presenter.dialog(), nullptr);
    EXPECT_NE(presenter.dialog()->findChild<QPushButton *>("help-center-close-button"), nullptr);
    EXPECT_EQ(presenter.dialog()->findChild<QPushButton *>("open-settings-from-help-button"), nullptr);
}

} // namespace
