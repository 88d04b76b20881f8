#include "review_controller_fixture.h"

#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/scoped_environment.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

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

struct UndoRow
{
    const char *name;
    bool copied;      ///< The AutoClean replaced the clipboard.
    bool saved;       ///< The AutoClean saved a cleaned PNG.
    bool copiedSince; ///< Something was copied after it.
    const char *status;
};

class AutoCleanUndo : public ReviewControllerTest, public ::testing::WithParamInterface<UndoRow>
{
protected:
    QTemporaryDir m_home; // with the test's own Trash, its data folder not made yet as on a new account
    ScopedEnvironmentVariable m_homeVariable{"HOME", m_home.path().toUtf8()};
    ScopedEnvironmentVariable m_dataHome{"XDG_DATA_HOME", QDir(m_home.path()).filePath(".local/share").toUtf8()};
};

// The status line said what the AutoClean did ("Clipboard replaced with a flattened
// cleaned PNG…"); once it is undone, the line says what is left of it.
TEST_P(AutoCleanUndo, TakesTheOutputBackAndTheStatusLineSaysWhatIsLeft)
{
    const UndoRow &row = GetParam();
    const QList<ClipboardItem> before{{QStringLiteral("text/plain"), QByteArray("copied before")}};
    const QString saved = QDir(m_home.path()).filePath(QStringLiteral("cleaned.png"));
    AutoCleanUndoToken token;
    if (row.copied) {
        clipboard.write({{QStringLiteral("image/png"), encodedPng(plainImage())}});
        token.clipboardSnapshot = ClipboardUndoSnapshot{before};
        token.clipboardOutputChangeCount = clipboard.changes;
    }
    if (row.saved) {
        ASSERT_TRUE(writeBytes(saved, encodedPng(plainImage())));
        token.generatedFileURL = QUrl::fromLocalFile(saved);
    }
    autoCleanUndo.registerToken(token);
    controller.intake().showStatus(QStringLiteral("Clipboard replaced with a flattened cleaned PNG."));
    if (row.copiedSince)
        clipboard.write({{QStringLiteral("text/plain"), QByteArray("copied since")}});

    controller.performBannerAction(CompletionBannerAction::undoLastAutoClean);
    EXPECT_EQ(state().reviewStatusNote(), QString::fromUtf8(row.status));
    EXPECT_EQ(banner().text(), "AutoClean undone");
    EXPECT_EQ(clipboard.contents == before, row.copied && !row.copiedSince);
    EXPECT_EQ(QFileInfo::exists(QDir(m_home.path()).filePath(".local/share/Trash/files/cleaned.png")), row.saved);
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath(QStringLiteral("files/cleaned.png"))));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, AutoCleanUndo,
    ::testing::Values(
        UndoRow{"clipboardRestored", true, false, false, "AutoClean undone. The clipboard holds what it held before."},
        UndoRow{"somethingCopiedSince", true, false, true, "AutoClean undone. The clipboard keeps what was copied since."},
        UndoRow{"savedAndCopied", true, true, false,
                "AutoClean undone. The clipboard holds what it held before. The cleaned PNG was moved to the Trash."}),
    rowName);

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
