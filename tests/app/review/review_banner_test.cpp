#include "app/review/review_banner.h"

#include "support/manual_clock.h"
#include "support/row_name.h"

#include <gtest/gtest.h>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

class ReviewBannerTest : public ::testing::Test
{
protected:
    ManualClock clock;
    int expiries = 0;
    ReviewBanner banner{clock, [this] { ++expiries; }};
};

struct ShownForRow
{
    const char *name;
    std::optional<CompletionBannerAction> primary;
    std::optional<CompletionBannerAction> secondary;
    std::chrono::milliseconds shownFor;
};

class ReviewBannerShownFor : public ReviewBannerTest, public ::testing::WithParamInterface<ShownForRow>
{
};

TEST_P(ReviewBannerShownFor, GoesAwayByItselfOnTime)
{
    const ShownForRow &row = GetParam();
    banner.show(QStringLiteral("Done"), row.primary, row.secondary);
    clock.advance(row.shownFor - 1ms);
    EXPECT_EQ(banner.text(), "Done");
    EXPECT_EQ(banner.primaryAction(), row.primary);
    EXPECT_EQ(banner.secondaryAction(), row.secondary);
    EXPECT_EQ(expiries, 0);

    clock.advance(1ms);
    EXPECT_EQ(banner.text(), std::nullopt);
    EXPECT_EQ(banner.primaryAction(), std::nullopt);
    EXPECT_EQ(banner.secondaryAction(), std::nullopt);
    EXPECT_FALSE(banner.isTimed());
    EXPECT_EQ(expiries, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ReviewBannerShownFor,
    ::testing::Values(ShownForRow{"withoutAction", std::nullopt, std::nullopt, 2400ms},
                      ShownForRow{"withAnAction", CompletionBannerAction::revealLastExport, std::nullopt, 8s},
                      ShownForRow{"withTwoActions", CompletionBannerAction::reviewLastAutoClean,
                                  CompletionBannerAction::undoLastAutoClean, 8s},
                      ShownForRow{"withASecondActionOnly", std::nullopt, CompletionBannerAction::undoLastAutoClean, 8s}),
    rowName);

TEST_F(ReviewBannerTest, ANewBannerRestartsTheTimer)
{
    banner.show(QStringLiteral("First"), std::nullopt, std::nullopt);
    clock.advance(2s);
    banner.show(QStringLiteral("Second"), std::nullopt, CompletionBannerAction::undoLastAutoClean);
    clock.advance(7s);
    EXPECT_EQ(banner.text(), "Second");
    EXPECT_EQ(banner.secondaryAction(), CompletionBannerAction::undoLastAutoClean);
    EXPECT_EQ(expiries, 0);
    clock.advance(1s);
    EXPECT_EQ(banner.text(), std::nullopt);
    EXPECT_EQ(expiries, 1);
}

TEST_F(ReviewBannerTest, ClearTakesItDownAndStopsItsTimer)
{
    banner.show(QStringLiteral("Exported cleaned image"), CompletionBannerAction::revealLastExport, std::nullopt);
    banner.clear();
    EXPECT_EQ(banner.text(), std::nullopt);
    EXPECT_EQ(banner.primaryAction(), std::nullopt);
    EXPECT_FALSE(banner.isTimed());
    EXPECT_EQ(clock.pendingCount(), 0);
    clock.advance(10s);
    EXPECT_EQ(expiries, 0);
}

TEST_F(ReviewBannerTest, ABannerGoneWithItsOwnerLeavesNoTimer)
{
    {
        ReviewBanner shortLived{clock, [this] { ++expiries; }};
        shortLived.show(QStringLiteral("Copied cleaned PNG"), std::nullopt, std::nullopt);
        ASSERT_EQ(clock.pendingCount(), 1);
    }
    EXPECT_EQ(clock.pendingCount(), 0);
    clock.advance(3s);
    EXPECT_EQ(expiries, 0);
}

} // namespace
} // namespace velmora::test
