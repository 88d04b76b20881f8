#include "app/review/capture_texts.h"
#include "core/protection/capture_mode.h"

#include "capture_flow_fixture.h"
#include "support/row_name.h"
#include "support/thread_pool_gate.h"

#include <sys/stat.h>

namespace velmora::test {
namespace {

struct ReviewRouteRow {
    const char *name;
    VelmoraCaptureMode mode;
    const char *outputMode;
    const char *safety;
    int sureFindings;
    int unsureFindings;
    const char *status;
    std::optional<QString> error;
};

class CaptureReviewRouteTest : public CaptureFlowTest, public ::testing::WithParamInterface<ReviewRouteRow> {};

TEST_P(CaptureReviewRouteTest, OpensAOneItemBatchWithItsSentence)
{
    const ReviewRouteRow &row = GetParam();
    storeOutput(row.outputMode, row.safety);
    QList<Detection> findings;
    for (int i = 0; i < row.sureFindings; ++i)
        findings << sureFinding();
    for (int i = 0; i < row.unsureFindings; ++i)
        findings << unsureFinding(i);

    flowWith(writesScreenshot()).beginCapture(row.mode);
    EXPECT_EQ(state().reviewStatusNote(), captureModeInfo(row.mode).statusHint);
    finishScan(findings);

    EXPECT_EQ(state().reviewStatusNote(), QString::fromUtf8(row.status));
    EXPECT_EQ(state().errorText(), row.error);
    ASSERT_EQ(state().batch.items().size(), 1);
    const ReviewDocument &item = state().batch.items().first();
    EXPECT_EQ(item.sourceLabel(), captureModeInfo(row.mode).sourceLabel);
    EXPECT_EQ(item.sourceType(), SafeShareSourceType::capture);
    EXPECT_TRUE(item.didScan());
    EXPECT_EQ(state().redactionPlan().entries().size(), findings.size());
    EXPECT_EQ(state().image().size(), screenshot.size());
    EXPECT_EQ(state().selectedDetectionID(), findings.isEmpty() ? std::nullopt
                                                              : std::optional(state().redactionPlan().entries().first().id()));
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_EQ(broughtForward, 1);
    EXPECT_TRUE(clipboard.contents.isEmpty()) << "the clipboard stays untouched";
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action, SafeShareAction::scan);
    EXPECT_EQ(history().first().sourceType, SafeShareSourceType::capture);
    EXPECT_TRUE(tool->leftovers().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureReviewRouteTest, ::testing::Values(
    ReviewRouteRow{"reviewModeEmptyPlan", VelmoraCaptureMode::screen, "reviewInVelmora", "pauseIfUnsure", 0, 0,
                   "Screen capture loaded. Review the findings, then copy or export a cleaned image.", std::nullopt},
    ReviewRouteRow{"pausedForTwo", VelmoraCaptureMode::area, "copyCleanedPNG", "pauseIfUnsure", 1, 2,
                   "Area capture has 2 findings needing Check, so auto-output paused for review.", std::nullopt},
    ReviewRouteRow{"pausedForOne", VelmoraCaptureMode::area, "copyCleanedPNG", "pauseIfUnsure", 0, 1,
                   "Area capture has 1 finding needing Check, so auto-output paused for review.", std::nullopt},
    ReviewRouteRow{"reviewFirst", VelmoraCaptureMode::window, "saveAndCopyCleanedPNG", "reviewFirst", 1, 0,
                   "Window capture opened for review because AutoClean is set to Review first.", std::nullopt},
    ReviewRouteRow{"saveWithoutFolder", VelmoraCaptureMode::screen, "saveCleanedPNG", "autoCleanEverything", 1, 0,
                   "Capture scanned locally. Choose a capture output folder in Settings to use save modes.",
                   QStringLiteral("Capture save mode needs an output folder in Settings.")}),
    rowName);

struct EndingRow {
    const char *name;
    const char *toolBody;
    bool accessGranted;
    QString status;
    std::optional<QString> error;
    int broughtForward;
};

class CaptureEndingTest : public CaptureFlowTest, public ::testing::WithParamInterface<EndingRow> {};

TEST_P(CaptureEndingTest, EachEndingSaysWhatHappenedAndLeavesNoFile)
{
    const EndingRow &row = GetParam();
    flowWith(row.toolBody, row.accessGranted).beginCapture(VelmoraCaptureMode::window);
    ASSERT_TRUE(waitForEnding());
    drainEvents();
    EXPECT_EQ(state().reviewStatusNote(), row.status);
    EXPECT_EQ(state().errorText(), row.error);
    EXPECT_EQ(broughtForward, row.broughtForward);
    EXPECT_EQ(engine.callCount(), 0);
    EXPECT_TRUE(state().batch.items().isEmpty());
    EXPECT_TRUE(tool->leftovers().isEmpty()) << tool->leftovers().join(' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureEndingTest, ::testing::Values(
    EndingRow{"abandonedSelection", "printf partial > \"$last\"\nexit 1", true, CaptureText::canceledByUser, std::nullopt, 0},
    EndingRow{"noImageAfterSuccess", "exit 0", true, capturePermissionExplanation(), CaptureText::failedError, 1},
    EndingRow{"unreadableImage", "printf 'not an image' > \"$last\"", true, capturePermissionExplanation(),
              CaptureText::failedError, 1},
    EndingRow{"accessRefused", "exit 0", false, capturePermissionExplanation(), CaptureText::permissionError, 1}),
    rowName);

// The tool waits on a pipe until the test has changed the stored custom terms.
TEST_F(CaptureFlowTest, ACaptureKeptFromTheReviewOnScreenWaitsBehindTheBanner)
{
    ReviewIntakeImage earlier;
    earlier.encodedBytes = encodedPng(plainImage());
    earlier.displayLabel = QStringLiteral("Earlier image");
    earlier.plan = RedactionPlan();
    controller.intake().openForReview(earlier);
    drainScans();
    ASSERT_EQ(state().image().size(), QSize(40, 30));
    reviewMayBeReplaced = false;

    flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::area);
    finishScan({unsureFinding()});

    EXPECT_EQ(state().image().size(), QSize(40, 30)) << "the review on screen stays";
    EXPECT_EQ(banner().text(), CaptureText::waitingForReview);
    EXPECT_EQ(banner().primaryAction(), CompletionBannerAction::reviewLastAutoClean);
    ASSERT_TRUE(state().lastAutoCleanReviewItem.has_value());
    EXPECT_EQ(state().lastAutoCleanReviewItem->encodedBytes, encodedPng(screenshot));

    controller.performBannerAction(CompletionBannerAction::reviewLastAutoClean);
    drainScans();
    EXPECT_EQ(state().image().size(), screenshot.size());
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
}

TEST_F(CaptureFlowTest, TheScanUsesTheDetectionSettingsOfWhenTheCaptureBegan)
{
    settings->setValue(Setting::customTermsText, QStringLiteral("Falcon"));
    QTemporaryDir dir;
    const QString gate = dir.filePath(QStringLiteral("gate"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(gate).constData(), 0600), 0);
    flowWith("read line < '" + gate.toUtf8() + "'\n" + writesScreenshot()).beginCapture(VelmoraCaptureMode::screen);
    settings->setValue(Setting::customTermsText, QStringLiteral("Osprey"));
    QFile fifo(gate);
    ASSERT_TRUE(fifo.open(QIODevice::WriteOnly));
    fifo.write("go\n");
    fifo.close();

    ASSERT_TRUE(waitUntil([&] { return engine.callCount() > 0; }, "the capture's scan to start"));
    engine.lastCall().finish({}, {TextObservation(QStringLiteral("Project Falcon launch"), {0.1, 0.5, 0.6, 0.05}, 0.9)});
    drainEvents();
    drainScans();
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries().first().detection.label, QStringLiteral("Custom term"));
}

TEST_F(CaptureFlowTest, AFailedScanIsACaptureFailure)
{
    flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::screen);
    ASSERT_TRUE(waitUntil([&] { return engine.callCount() > 0; }, "the capture's scan to start"));
    engine.lastCall().failText();
    engine.lastCall().finishVisual();
    drainEvents();
    EXPECT_EQ(state().errorText(), CaptureText::failedError);
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_TRUE(state().batch.items().isEmpty());
}

// Closing the review while the tool waits for a selection ends the tool; the image in
// review before the capture is closed with it, and no file is left.
TEST_F(CaptureFlowTest, ClosingTheReviewCancelsTheCaptureAndEndsTheTool)
{
    flowWith("printf partial > \"$last\"\nexec cat").beginCapture(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitUntil([&] { return tool->leftovers().size() == 1; }, "the tool to write its file"));
    controller.closeCurrentReview();
    ASSERT_TRUE(waitUntil([&] { return state().reviewStatusNote() == CaptureText::canceledByTask; },
                          "the capture to end as canceled"));
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_TRUE(tool->leftovers().isEmpty());
    EXPECT_EQ(broughtForward, 0);
}

// The window's review going away (the application quits) ends a tool still waiting
// for a selection; what the tool wrote is removed once it has ended.
TEST(CaptureFlowLifetimeTest, TheReviewGoingAwayEndsTheTool)
{
    ReviewServices services;
    FakeCaptureTool tool("printf partial > \"$last\"\nexec cat");
    auto controller = std::make_unique<ReviewController>(services.environment());
    RecordingNotificationCenter notifications;
    auto flow = std::make_unique<CaptureFlow>(
        controller->intake(), CaptureFlowEnvironment{ScreenCaptureService(tool.tool()),
                                            {*services.settings, services.clipboard, services.clock, services.guard.monitorPlan(),
                                             services.autoCleanUndo, notifications, [] { return true; }}, [] {},
                                            [](const auto &open, const auto &) { open(); }});
    flow->beginCapture(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitUntil([&] { return tool.leftovers().size() == 1; }, "the tool to write its file"));
    flow.reset();
    controller.reset();
    EXPECT_TRUE(waitUntil([&] { return tool.leftovers().isEmpty(); }, "the tool to end and its file to be removed"));
}

// The screenshot is read on the thread pool; the tests hold the pool until they have
// done what comes between the tool's ending and the read's result.
TEST_F(CaptureFlowTest, ClosingTheReviewWhileTheScreenshotIsReadEndsAsCanceled)
{
    ThreadPoolGate gate;
    flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitUntil([&] { return flow->reading().isRunning(); }, "the screenshot's read to start"));
    controller.closeCurrentReview();
    gate.open();
    drainEvents();

    EXPECT_EQ(state().reviewStatusNote(), CaptureText::canceledByTask);
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_EQ(engine.callCount(), 0);
    EXPECT_TRUE(tool->leftovers().isEmpty());
}

TEST_F(CaptureFlowTest, AFlowGoneWhileItsScreenshotIsReadHearsNothingOfIt)
{
    ThreadPoolGate gate;
    flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitUntil([&] { return flow->reading().isRunning(); }, "the screenshot's read to start"));
    flow.reset();
    gate.open();
    drainEvents();

    EXPECT_EQ(engine.callCount(), 0);
    EXPECT_TRUE(state().batch.items().isEmpty());
    EXPECT_EQ(state().reviewStatusNote(), captureModeInfo(VelmoraCaptureMode::area).statusHint);
    EXPECT_TRUE(tool->leftovers().isEmpty()) << "the screenshot is removed all the same";
}

TEST_F(CaptureFlowTest, AnOlderEndingLeavesANewerCaptureAlone)
{
    flowWith("printf partial > \"$last\"\nexec cat").beginCapture(VelmoraCaptureMode::area);
    ASSERT_TRUE(waitUntil([&] { return tool->leftovers().size() == 1; }, "the tool to write its file"));
    controller.closeCurrentReview(); // cancels the first capture; its ending comes later
    flow->beginCapture(VelmoraCaptureMode::window);
    const std::optional<TaskHandle> newer = state().captureTask;
    ASSERT_TRUE(newer.has_value());
    // The first tool's file is gone once its ending was handled; the second one waits.
    ASSERT_TRUE(waitUntil([&] {
        const QStringList files = tool->leftovers();
        return files.size() == 1 && files.first().startsWith(QStringLiteral("velmora-capture-window-"));
    }, "the first tool's file to be removed"));
    drainEvents();
    EXPECT_EQ(state().captureTask, newer);
    EXPECT_EQ(state().reviewStatusNote(), captureModeInfo(VelmoraCaptureMode::window).statusHint);
    controller.closeCurrentReview();
    EXPECT_TRUE(waitUntil([&] { return state().reviewStatusNote() == CaptureText::canceledByTask; },
                          "the capture to end as canceled"));
}

TEST_F(CaptureFlowTest, ARequestWhileACaptureRunsIsIgnored)
{
    flowWith("exec cat").beginCapture(VelmoraCaptureMode::area);
    const std::optional<TaskHandle> first = state().captureTask;
    flow->beginCapture(VelmoraCaptureMode::screen);
    EXPECT_EQ(state().captureTask, first);
    EXPECT_EQ(state().reviewStatusNote(), captureModeInfo(VelmoraCaptureMode::area).statusHint);
    controller.closeCurrentReview();
    ASSERT_TRUE(waitForEnding());
}

TEST_F(CaptureFlowTest, ARequestWhileAnImageIsCheckedIsIgnoredWithoutAMessage)
{
    controller.loadBatch({fileItem("one.png")}, QStringLiteral("Image loaded. Scanning on device..."), 0, true);
    ASSERT_TRUE(state().isChecking());
    const QString status = state().reviewStatusNote();
    flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::screen);
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_EQ(state().reviewStatusNote(), status);
    EXPECT_TRUE(tool->arguments().isEmpty());
}

struct FallbackTextRow {
    const char *name;
    std::optional<VelmoraCaptureOutputFallbackReason> reason;
    VelmoraCaptureMode mode;
    const char *expected;
};

class CaptureFallbackTextTest : public ::testing::TestWithParam<FallbackTextRow> {};

TEST_P(CaptureFallbackTextTest, WordsTheReason)
{
    EXPECT_EQ(captureFallbackStatusText(GetParam().reason, GetParam().mode), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, CaptureFallbackTextTest, ::testing::Values(
    FallbackTextRow{"noReason", std::nullopt, VelmoraCaptureMode::window,
                    "Window capture loaded. Review the findings, then copy or export a cleaned image."},
    FallbackTextRow{"explicitReview", VelmoraCaptureOutputFallbackReason::explicitReviewMode(), VelmoraCaptureMode::area,
                    "Area capture loaded. Review the findings, then copy or export a cleaned image."},
    FallbackTextRow{"threeFindings", VelmoraCaptureOutputFallbackReason::reviewFindingsPresent(3), VelmoraCaptureMode::screen,
                    "Screen capture has 3 findings needing Check, so auto-output paused for review."}),
    rowName);

} // namespace
} // namespace velmora::test
