#include "review_controller_fixture.h"

#include "support/file_bytes.h"
#include "support/image_bytes.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <QTemporaryDir>

namespace velmora::test {
namespace {

const QString pausedSentence = QStringLiteral("Paused for review.");

// A flow hands images to the review through its intake.
class ReviewIntakeTest : public ReviewControllerTest
{
public:
    static ReviewIntakeImage bytesImage(int grey, std::optional<RedactionPlan> plan = std::nullopt)
    {
        return {encodedPng(plainImage(grey)), std::nullopt, QStringLiteral("Capture"), SafeShareSourceType::capture,
                std::move(plan), std::nullopt, pausedSentence};
    }

protected:
    ReviewIntake &intake() { return controller.intake(); }
};

TEST_F(ReviewIntakeTest, AnImageWithoutAPlanOpensAsABatchOfOneAndIsScanned)
{
    intake().openForReview(bytesImage(90));
    drainScans();

    ASSERT_EQ(state().batch.items().size(), 1);
    EXPECT_EQ(state().image().pixel(0, 0), plainImage(90).pixel(0, 0));
    EXPECT_EQ(state().sourceDisplayLabel(), "Capture");
    EXPECT_EQ(state().batch.items().first().sourceType(), SafeShareSourceType::capture);
    EXPECT_EQ(engine.callCount(), 1);
    EXPECT_TRUE(intake().isCheckingImage());
    EXPECT_TRUE(intake().hasReviewInProgress());

    engine.lastCall().finish({findingOf(DetectionKind::email, "Email", 0.2)});
    drainEvents();
    EXPECT_FALSE(intake().isCheckingImage());
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
}

TEST_F(ReviewIntakeTest, AnImageWithAPlanOfItsOwnOpensUnscannedWithItsSelection)
{
    const RedactionPlan plan = RedactionPlan({findingOf(DetectionKind::email, "Email", 0.2)}, {}, {});
    ReviewIntakeImage image = bytesImage(90, plan);
    image.selectedDetectionID = plan.entries().first().id();

    intake().openForReview(image);
    drainScans();

    EXPECT_EQ(engine.callCount(), 0);
    EXPECT_FALSE(intake().isCheckingImage());
    EXPECT_EQ(state().redactionPlan(), plan);
    EXPECT_EQ(state().selectedDetectionID(), plan.entries().first().id());
    EXPECT_EQ(state().reviewStatusNote(), pausedSentence);
    ASSERT_EQ(state().batch.items().size(), 1);
    EXPECT_TRUE(state().batch.items().first().didScan());
}

TEST_F(ReviewIntakeTest, AFileIsReadFromItsPath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(60))));

    intake().openForReview({{}, path, std::nullopt, SafeShareSourceType::screenshotWatch, std::nullopt, std::nullopt,
                            pausedSentence});
    drainScans();

    EXPECT_EQ(state().image().pixel(0, 0), plainImage(60).pixel(0, 0));
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile(path));
}

TEST_F(ReviewIntakeTest, AnUnreadableImageShowsTheImportFailureAndKeepsTheReviewOnScreen)
{
    loadScanned({});
    const QImage before = state().image();

    intake().openForReview({"not an image", std::nullopt, std::nullopt, SafeShareSourceType::capture, std::nullopt,
                            std::nullopt, pausedSentence});
    drainScans();

    EXPECT_EQ(state().image(), before);
    EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
    EXPECT_EQ(engine.callCount(), 1);
}

// The image is read on the thread pool: these tests hold the pool until they have done
// what comes between the hand-over and the read's result.
TEST_F(ReviewIntakeTest, TheReviewOnScreenStaysUntilTheImageIsRead)
{
    loadScanned({});
    const QImage before = state().image();
    ThreadPoolGate gate;
    intake().openForReview(bytesImage(90));
    EXPECT_EQ(state().image(), before);
    EXPECT_EQ(engine.callCount(), 1);

    gate.open();
    drainEvents();
    EXPECT_EQ(state().image().pixel(0, 0), plainImage(90).pixel(0, 0));
    EXPECT_EQ(engine.callCount(), 2);
}

struct SupersedeRow
{
    const char *name;
    /// Done while the image handed over is still being read.
    std::function<void(ReviewController &, const QUrl &file)> meanwhile;
    /// The grey of the image on screen at the end; nothing for no image.
    std::optional<int> shownGrey;
};

class IntakeSupersedeTest : public ReviewIntakeTest, public ::testing::WithParamInterface<SupersedeRow>
{
};

TEST_P(IntakeSupersedeTest, AnImageStillBeingReadIsDropped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("opened.png"));
    ASSERT_TRUE(writeBytes(path, encodedPng(plainImage(30))));
    ThreadPoolGate gate;
    intake().openForReview(bytesImage(90));
    GetParam().meanwhile(controller, QUrl::fromLocalFile(path));
    gate.open();
    finishPoolWork();

    const std::optional<int> shown = GetParam().shownGrey;
    ASSERT_EQ(state().batch.items().size(), shown ? 1 : 0);
    EXPECT_EQ(engine.callCount(), shown ? 1 : 0);
    if (shown) {
        EXPECT_EQ(state().image().pixel(0, 0), plainImage(*shown).pixel(0, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, IntakeSupersedeTest, ::testing::Values(
    SupersedeRow{"byALaterImage",
                 [](ReviewController &review, const QUrl &) {
                     review.intake().openForReview(ReviewIntakeTest::bytesImage(120));
                 },
                 120},
    SupersedeRow{"byAnOpenOfFiles",
                 [](ReviewController &review, const QUrl &file) {
                     review.loadImageURLs({file}, ReviewText::imageLoaded, true);
                 },
                 30},
    SupersedeRow{"byClosingTheReview", [](ReviewController &review, const QUrl &) { review.closeCurrentReview(); },
                 std::nullopt}
), rowName);

TEST(IntakeLifetimeTest, AReviewGoneWhileTheImageIsReadHearsNothingOfIt)
{
    ReviewServices services;
    auto review = std::make_unique<ReviewController>(services.environment());
    ThreadPoolGate gate;
    review->intake().openForReview(ReviewIntakeTest::bytesImage(90));
    review.reset();
    gate.open();
    drainEvents();

    EXPECT_EQ(services.engine.callCount(), 0) << "nothing opened the image";
}

TEST_F(ReviewIntakeTest, WatchedScreenshotsOpenNewestFirstAndLeaveTheQueue)
{
    QTemporaryDir dir;
    const auto watched = [&](const QString &name, int grey) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(writeBytes(path, encodedPng(plainImage(grey))));
        return ReviewIntakeImage{{}, path, std::nullopt, SafeShareSourceType::screenshotWatch, RedactionPlan::empty(),
                                 std::nullopt, pausedSentence};
    };
    intake().queueWatchedScreenshot(watched(QStringLiteral("older.png"), 40));
    intake().queueWatchedScreenshot(watched(QStringLiteral("newer.png"), 120));

    controller.openWatchedScreenshot();
    drainScans();

    EXPECT_EQ(state().image().pixel(0, 0), plainImage(120).pixel(0, 0));
    ASSERT_EQ(state().watchedScreenshotQueue.items.size(), 1);
    EXPECT_EQ(state().watchedScreenshotQueue.items.first().filePath, dir.filePath(QStringLiteral("older.png")));
}

TEST_F(ReviewIntakeTest, AWatchedScreenshotOfTheSameSourceReplacesItsAlert)
{
    intake().queueWatchedScreenshot(bytesImage(40, RedactionPlan::empty()));
    intake().queueWatchedScreenshot(bytesImage(120, RedactionPlan::empty()));

    ASSERT_EQ(state().watchedScreenshotQueue.items.size(), 1);
    EXPECT_EQ(state().watchedScreenshotQueue.items.first().encodedBytes, encodedPng(plainImage(120)));
}

TEST_F(ReviewIntakeTest, AnIdleStatusNeverReplacesTheStatusOfAnImageInReview)
{
    intake().showStatusWhenIdle(QStringLiteral("Nothing in review."));
    EXPECT_EQ(state().reviewStatusNote(), "Nothing in review.");

    loadScanned({});
    const QString inReview = state().reviewStatusNote();
    intake().showStatusWhenIdle(QStringLiteral("Nothing in review."));
    EXPECT_EQ(state().reviewStatusNote(), inReview);
}

TEST_F(ReviewIntakeTest, AFailureShowsBothLinesAndTheItemKeepsThem)
{
    loadScanned({});
    intake().showFailure(QStringLiteral("It broke."), QStringLiteral("Nothing changed."));

    EXPECT_EQ(state().errorText(), "It broke.");
    EXPECT_EQ(state().reviewStatusNote(), "Nothing changed.");
    EXPECT_EQ(state().batch.items().first().reviewStatusNote(), "Nothing changed.");
}

} // namespace
} // namespace velmora::test
