#include "app/help/velmora_guide_row.h"
#include "app/help/velmora_onboarding_view.h"

#include "app/panes/review_harness.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace velmora;

namespace {

struct OnboardingFixture : ::testing::Test {
    test::ReviewHarness look; // the look of the tests
    int finishes = 0;
    int samples = 0;
    int helps = 0;
    VelmoraOnboardingView view{{[this] { ++finishes; }, [this] { ++samples; }, [this] { ++helps; }}};
};

TEST_F(OnboardingFixture, ShowsTheThreeStepsInOrderWithFreshIdentifiers)
{
    QStringList identifiers;
    for (const VelmoraGuideRow *row : view.findChildren<VelmoraGuideRow *>()) {
        identifiers.append(row->objectName());
        ASSERT_NE(row->detailLabel(), nullptr);
    }
    EXPECT_EQ(identifiers, (QStringList{"onboarding-step-start", "onboarding-step-review", "onboarding-step-export"}));
    VelmoraOnboardingView again{{[] {}, [] {}, [] {}}};
    ASSERT_EQ(again.steps().size(), 3);
    for (qsizetype i = 0; i < 3; ++i) {
        EXPECT_EQ(again.steps()[i].title, view.steps()[i].title);
        EXPECT_NE(again.steps()[i].id, view.steps()[i].id);
    }
}

TEST_F(OnboardingFixture, EachButtonCallsItsOwnCallbackOnce)
{
    const struct {
        const char *identifier;
        int finishes, samples, helps;
    } rows[] = {
        {"onboarding-try-sample-button", 0, 1, 0},
        {"onboarding-help-button", 0, 1, 1},
        {"onboarding-finish-button", 1, 1, 1},
        {"onboarding-close-button", 2, 1, 1},
    };
    for (const auto &row : rows) {
        view.findChild<QPushButton *>(QLatin1String(row.identifier))->click();
        EXPECT_EQ(finishes, row.finishes) << row.identifier;
        EXPECT_EQ(samples, row.samples) << row.identifier;
        EXPECT_EQ(helps, row.helps) << row.identifier;
    }
}

TEST_F(OnboardingFixture, StartIsTheOnlyButtonReturnPresses)
{
    for (QPushButton *button : view.findChildren<QPushButton *>()) {
        const bool isFinish = button->objectName() == QLatin1String("onboarding-finish-button");
        EXPECT_EQ(button->isDefault(), isFinish) << button->objectName().toStdString();
        EXPECT_FALSE(button->autoDefault()) << button->objectName().toStdString();
    }
    EXPECT_GE(view.finishButton()->sizeHint().width(), 132);
    EXPECT_EQ(view.findChild<QPushButton *>("onboarding-close-button")->accessibleName(), "Close onboarding");
}

TEST_F(OnboardingFixture, IsSixHundredEightyWideAndAsTallAsItsContent)
{
    view.show();
    EXPECT_EQ(view.width(), 680);
    EXPECT_GE(view.height(), view.minimumSizeHint().height());
    auto *title = view.findChild<QLabel *>("onboarding-quick-start-title");
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->text(), "Quick Start");
    // The header's icon is the application's picture, never an empty frame.
    auto *icon = view.findChild<QLabel *>("onboarding-app-icon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
}

} // namespace
