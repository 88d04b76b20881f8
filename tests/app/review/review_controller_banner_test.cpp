#include "review_controller_fixture.h"

#include "support/image_bytes.h"
#include "support/row_name.h"

#include <QSignalSpy>

namespace velmora::test {
namespace {

using namespace std::chrono_literals;

ReviewIntakeImage intakeImage(const QString &label)
{
    return {encodedPng(plainImage()), std::nullopt, label, SafeShareSourceType::clipboardProtection, RedactionPlan(),
            std::nullopt, QStringLiteral("Opened for review.")};
}

class ReviewBannerActions : public ReviewControllerTest
{
};

TEST_F(ReviewBannerActions, TheBannerGoingAwayIsAChange)
{
    QSignalSpy changes(&controller, &ReviewController::changed);
    controller.intake().showCompletionBanner(QStringLiteral("Copied cleaned PNG"), std::nullopt, std::nullopt);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(banner().text(), "Copied cleaned PNG");
    clock.advance(ReviewBanner::shownWithoutAction);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(banner().text(), std::nullopt);
}

TEST_F(ReviewBannerActions, LoadingABatchTakesTheBannerDown)
{
    controller.intake().showCompletionBanner(QStringLiteral("Watched screenshot queued"),
                                             CompletionBannerAction::reviewLatestWatchedScreenshot, std::nullopt);
    loadAndScan({fileItem("a.png")});
    EXPECT_EQ(banner().text(), std::nullopt);
    EXPECT_EQ(banner().primaryAction(), std::nullopt);
    EXPECT_FALSE(banner().isTimed());
}

TEST_F(ReviewBannerActions, RevealAndUndoWithNothingToActOnDoNothing)
{
    controller.performBannerAction(CompletionBannerAction::revealLastExport);
    controller.performBannerAction(CompletionBannerAction::undoLastAutoClean);
    EXPECT_TRUE(desktop.revealedPaths.isEmpty());
    EXPECT_EQ(banner().text(), std::nullopt);
}

TEST_F(ReviewBannerActions, UndoPutsTheClipboardBackAndSaysSo)
{
    const QList<ClipboardItem> before{{QStringLiteral("text/plain"), QByteArray("copied before")}};
    clipboard.write({{QStringLiteral("image/png"), encodedPng(plainImage())}});
    autoCleanUndo.registerToken({ClipboardUndoSnapshot{before}, clipboard.changes, std::nullopt});
    controller.performBannerAction(CompletionBannerAction::undoLastAutoClean);
    EXPECT_EQ(clipboard.contents, before);
    EXPECT_EQ(banner().text(), "AutoClean undone");
    EXPECT_FALSE(autoCleanUndo.token().has_value());
}

struct ReplacesRow
{
    const char *name;
    CompletionBannerAction action;
    bool replacesWithNothingWaiting;
    bool replacesWithItemsWaiting;
};

class BannerActionReplacesReview : public ReviewControllerTest, public ::testing::WithParamInterface<ReplacesRow>
{
};

TEST_P(BannerActionReplacesReview, OnlyWhenItHasAnImageToOpen)
{
    const ReplacesRow &row = GetParam();
    EXPECT_EQ(controller.bannerActionReplacesReview(row.action), row.replacesWithNothingWaiting);
    controller.intake().setLastAutoCleanReviewItem(intakeImage(QStringLiteral("AutoClean copy")));
    controller.intake().queueWatchedScreenshot(intakeImage(QStringLiteral("Watched one")));
    EXPECT_EQ(controller.bannerActionReplacesReview(row.action), row.replacesWithItemsWaiting);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BannerActionReplacesReview,
    ::testing::Values(
        ReplacesRow{"reviewLastAutoClean", CompletionBannerAction::reviewLastAutoClean, false, true},
        ReplacesRow{"reviewLatestWatchedScreenshot", CompletionBannerAction::reviewLatestWatchedScreenshot, false, true},
        ReplacesRow{"revealLastExport", CompletionBannerAction::revealLastExport, false, false},
        ReplacesRow{"undoLastAutoClean", CompletionBannerAction::undoLastAutoClean, false, false},
        ReplacesRow{"openNotificationSettings", CompletionBannerAction::openNotificationSettings, false, false}),
    rowName);

} // namespace
} // namespace velmora::test
