#include "app/protection/autoclean_undo_coordinator.h"
#include "app/review/capture_texts.h"
#include "core/protection/autoclean_output_settings.h"
#include "core/protection/clipboard_protection_monitor_plan.h"

#include "capture_flow_fixture.h"
#include "support/thread_pool_gate.h"

#include <QDir>
#include <QLocale>

namespace velmora::test {
namespace {

const QString pngType = QStringLiteral("image/png");
const QList<ClipboardItem> earlierClipboard{{QStringLiteral("text/plain"), QByteArray("earlier")}};

class CaptureAutoOutputTest : public CaptureFlowTest
{
protected:
    CaptureAutoOutputTest() { clipboard.contents = earlierClipboard; }

    void useOutputFolder()
    {
        outputFolder = m_outputParent.filePath(QStringLiteral("Cleaned"));
        QDir().mkpath(outputFolder);
        AutoCleanOutputCoordinator::storeOutputFolder(*settings, outputFolder);
    }
    /// One capture of `mode` whose scan finds `findings`.
    void capture(VelmoraCaptureMode mode, const QList<Detection> &findings)
    {
        if (!flow)
            flowWith(writesScreenshot());
        flow->beginCapture(mode);
        finishScan(findings);
    }
    QStringList savedFiles() const { return QDir(outputFolder).entryList(QDir::Files, QDir::Name); }
    QString stamp() const { return QLocale::c().toString(clock.now().toLocalTime(), QStringLiteral("yyyyMMdd-HHmmss")); }
    /// The masked corner is black; the rest keeps the screenshot's grey.
    void expectCleaned(const QByteArray &png)
    {
        const QImage image = QImage::fromData(png, "PNG");
        ASSERT_EQ(image.size(), screenshot.size());
        EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(70, 50), screenshot.pixelColor(70, 50));
    }
    bool undo() { return autoCleanUndo.undo(guard).has_value(); }

    QString outputFolder;

private:
    QTemporaryDir m_outputParent;
};

TEST_F(CaptureAutoOutputTest, CopyPutsOnlyTheCleanedPngOnTheClipboardInTheBackground)
{
    storeOutput("copyCleanedPNG", "pauseIfUnsure");
    capture(VelmoraCaptureMode::area, {sureFinding()});

    ASSERT_EQ(clipboard.types(), QStringList{pngType});
    expectCleaned(clipboard.data(pngType));
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
    EXPECT_EQ(state().reviewStatusNote(), QStringLiteral("Capture scanned locally. Cleaned PNG copied to clipboard."));
    EXPECT_EQ(state().errorText(), std::nullopt);
    EXPECT_EQ(banner().text(), QStringLiteral("Cleaned screenshot copied \u00B7 1 item masked"));
    EXPECT_EQ(banner().primaryAction(), CompletionBannerAction::reviewLastAutoClean);
    EXPECT_TRUE(notifications.added.isEmpty());
    EXPECT_EQ(banner().secondaryAction(), CompletionBannerAction::undoLastAutoClean);
    EXPECT_TRUE(state().batch.items().isEmpty()) << "AutoClean opens no review";
    EXPECT_EQ(broughtForward, 0);
    ASSERT_TRUE(state().lastAutoCleanReviewItem.has_value());
    EXPECT_EQ(state().lastAutoCleanReviewItem->statusSentence, CaptureText::autoCleanReviewItemStatus);
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action, SafeShareAction::copyCleanedPNG);
    EXPECT_EQ(history().first().sourceType, SafeShareSourceType::capture);
    EXPECT_EQ(history().first().outputPath, std::nullopt);
    EXPECT_TRUE(tool->leftovers().isEmpty());
}

TEST_F(CaptureAutoOutputTest, InTheBackgroundTheReceiptIsANotification)
{
    isActive = false;
    storeOutput("copyCleanedPNG", "pauseIfUnsure");
    capture(VelmoraCaptureMode::screen, {sureFinding()});

    EXPECT_EQ(banner().text(), std::nullopt);
    ASSERT_EQ(notifications.added.size(), 1);
    EXPECT_EQ(notifications.added.first().title, QStringLiteral("Cleaned screenshot copied \u00B7 1 item masked"));
    EXPECT_EQ(notifications.added.first().body,
              QStringLiteral("Velmora scanned locally and masked 1 item in a cleaned PNG. "
                             "Open Velmora to review or undo recent AutoClean output."));
    EXPECT_TRUE(autoCleanUndo.token().has_value());
}

TEST_F(CaptureAutoOutputTest, SaveNamesTheFileAndCountsUpWithinTheSameSecond)
{
    storeOutput("saveCleanedPNG", "autoCleanEverything");
    useOutputFolder();
    for (int i = 0; i < 3; ++i)
        capture(VelmoraCaptureMode::screen, {unsureFinding()});

    const QString stem = QStringLiteral("Velmora-screen-%1-cleaned").arg(stamp());
    EXPECT_EQ(savedFiles(), (QStringList{stem + "-2.png", stem + "-3.png", stem + ".png"}));
    EXPECT_EQ(state().reviewStatusNote(), QStringLiteral("Capture scanned locally. Cleaned PNG saved to %1-3.png.").arg(stem));
    EXPECT_EQ(state().lastExportLocation, (ExportLocation{QUrl::fromLocalFile(QDir(outputFolder).filePath(stem + "-3.png")), false}));
    EXPECT_EQ(clipboard.contents, earlierClipboard);
    ASSERT_EQ(history().size(), 3);
    EXPECT_EQ(history().first().action, SafeShareAction::exportCleanedImage);
    EXPECT_EQ(history().first().outputPath, QDir(outputFolder).filePath(stem + "-3.png"));
}

TEST_F(CaptureAutoOutputTest, SaveAndCopyIsUndoneWithinEightSeconds)
{
    storeOutput("saveAndCopyCleanedPNG", "pauseIfUnsure");
    useOutputFolder();
    capture(VelmoraCaptureMode::window, {sureFinding()});
    ASSERT_EQ(savedFiles().size(), 1);
    expectCleaned(fileBytes(QDir(outputFolder).filePath(savedFiles().first())));
    expectCleaned(clipboard.data(pngType));
    EXPECT_EQ(state().reviewStatusNote(),
              QStringLiteral("Capture scanned locally. Cleaned PNG saved and copied to clipboard."));
    EXPECT_EQ(banner().text(), QStringLiteral("Cleaned screenshot saved and copied \u00B7 1 item masked"));
    EXPECT_EQ(history().first().action, SafeShareAction::exportCleanedImage);

    clock.advance(std::chrono::milliseconds(7000));
    EXPECT_TRUE(undo());
    EXPECT_EQ(clipboard.contents, earlierClipboard);
    EXPECT_TRUE(savedFiles().isEmpty());
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
}

TEST_F(CaptureAutoOutputTest, UndoLeavesWhatTheUserCopiedSinceOnTheClipboard)
{
    storeOutput("copyCleanedPNG", "pauseIfUnsure");
    capture(VelmoraCaptureMode::area, {sureFinding()});
    const QList<ClipboardItem> userCopy{{QStringLiteral("text/plain"), QByteArray("copied later")}};
    clipboard.write(userCopy);

    EXPECT_TRUE(undo());
    EXPECT_EQ(clipboard.contents, userCopy);
}

TEST_F(CaptureAutoOutputTest, AfterEightSecondsUndoDoesNothing)
{
    storeOutput("saveAndCopyCleanedPNG", "pauseIfUnsure");
    useOutputFolder();
    capture(VelmoraCaptureMode::window, {sureFinding()});
    const QList<ClipboardItem> cleaned = clipboard.contents;

    clock.advance(AutoCleanUndoCoordinator::expiry);
    EXPECT_FALSE(undo());
    EXPECT_EQ(clipboard.contents, cleaned);
    EXPECT_EQ(savedFiles().size(), 1);
}

TEST_F(CaptureAutoOutputTest, NothingActiveStillGivesACleanedCopy)
{
    storeOutput("copyCleanedPNG", "autoCleanEverything");
    capture(VelmoraCaptureMode::area, {});
    const QImage image = QImage::fromData(clipboard.data(pngType), "PNG");
    EXPECT_EQ(image.pixelColor(10, 10), screenshot.pixelColor(10, 10));
    EXPECT_EQ(banner().text(), QStringLiteral("Cleaned screenshot copied \u00B7 0 items masked"));
}

// A refused clipboard write gets back what the clipboard held; the capture opens for
// review, and no undo or receipt is left behind.
TEST_F(CaptureAutoOutputTest, ARefusedClipboardOpensReviewAndRestoresTheClipboard)
{
    storeOutput("copyCleanedPNG", "pauseIfUnsure");
    clipboard.writesToRefuse = 1;
    capture(VelmoraCaptureMode::area, {sureFinding()});

    EXPECT_EQ(clipboard.contents, earlierClipboard);
    EXPECT_EQ(state().reviewStatusNote(), CaptureText::autoOutputFailedStatus);
    EXPECT_EQ(state().errorText(), CaptureText::autoOutputFailedError);
    EXPECT_EQ(state().batch.items().size(), 1);
    EXPECT_FALSE(autoCleanUndo.token().has_value());
    EXPECT_EQ(banner().text(), std::nullopt);
    EXPECT_EQ(broughtForward, 1);
}

TEST_F(CaptureAutoOutputTest, AnOutputFolderRemovedSinceOpensReview)
{
    storeOutput("saveCleanedPNG", "pauseIfUnsure");
    useOutputFolder();
    QDir(outputFolder).removeRecursively();
    capture(VelmoraCaptureMode::screen, {sureFinding()});

    EXPECT_EQ(state().reviewStatusNote(), CaptureText::autoOutputFailedStatus);
    EXPECT_EQ(state().errorText(), CaptureText::autoOutputFailedError);
    EXPECT_FALSE(QFileInfo::exists(outputFolder));
}

TEST_F(CaptureAutoOutputTest, TheBannersReviewActionOpensTheCapture)
{
    storeOutput("copyCleanedPNG", "pauseIfUnsure");
    capture(VelmoraCaptureMode::area, {sureFinding()});
    controller.performBannerAction(CompletionBannerAction::reviewLastAutoClean);
    drainScans();
    ASSERT_EQ(state().batch.items().size(), 1);
    EXPECT_EQ(state().batch.items().first().sourceLabel(), QStringLiteral("Area capture"));
    EXPECT_EQ(state().reviewStatusNote(), CaptureText::autoCleanReviewItemStatus);
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
}

// The cleaned copy is made on the thread pool, held here by the gate until the capture
// has ended; nothing of it reaches the clipboard, the folder, the undo or the history.
class CaptureEndedWhileCleaned : public CaptureAutoOutputTest
{
protected:
    /// Starts a save-and-copy AutoClean whose cleaned copy waits behind `gate`.
    void holdCleanedCopy(std::optional<ThreadPoolGate> &gate)
    {
        storeOutput("saveAndCopyCleanedPNG", "pauseIfUnsure");
        useOutputFolder();
        flowWith(writesScreenshot()).beginCapture(VelmoraCaptureMode::area);
        ASSERT_TRUE(waitUntil([&] { return engine.callCount() == 1; }, "the capture's scan to start"));
        gate.emplace();
        engine.lastCall().finish({sureFinding()});
        ASSERT_TRUE(waitUntil([&] { return flow->autoOutput().isRunning(); }, "the cleaned copy to be under way"));
        EXPECT_TRUE(state().captureTask.has_value()) << "the capture is under way until its copy is out";
        EXPECT_EQ(clipboard.contents, earlierClipboard);
    }
    void expectNothingLeft()
    {
        EXPECT_TRUE(savedFiles().isEmpty());
        EXPECT_EQ(clipboard.contents, earlierClipboard);
        EXPECT_FALSE(autoCleanUndo.token().has_value());
        EXPECT_EQ(banner().text(), std::nullopt);
        EXPECT_TRUE(history().isEmpty());
    }
};

TEST_F(CaptureEndedWhileCleaned, ClosingTheReviewEndsItAsCanceled)
{
    std::optional<ThreadPoolGate> gate;
    holdCleanedCopy(gate);
    controller.closeCurrentReview();
    gate->open();
    drainEvents();

    expectNothingLeft();
    EXPECT_FALSE(state().captureTask.has_value());
    EXPECT_EQ(state().reviewStatusNote(), CaptureText::canceledByTask);
}

TEST_F(CaptureEndedWhileCleaned, AFlowGoneWaitsForTheCopyAndRemovesItsFile)
{
    std::optional<ThreadPoolGate> gate;
    holdCleanedCopy(gate);
    flow.reset();
    gate->open();
    drainEvents();

    expectNothingLeft();
}

} // namespace
} // namespace velmora::test
