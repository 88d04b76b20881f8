#include "review_controller_fixture.h"

#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"
#include "support/file_bytes.h"
#include "support/image_bytes.h"

#include <QFile>
#include <QTemporaryDir>

namespace velmora::test {
namespace {

// The batch scan with three scans at once: the engine's calls are finished in whatever
// order a case needs, and the decodes of queued items are let through by drainScans.
class ConcurrentBatchScan : public ReviewControllerTest
{
protected:
    ConcurrentBatchScan() { engine.scansAtOnce = 3; }

    /// Four items, the first on screen; grey 10, 20, 30, 40 tell their scans apart.
    void loadFour()
    {
        loadAndScan({fileItem("a.png", 10), fileItem("b.png", 20), fileItem("c.png", 30), fileItem("d.png", 40)});
        drainScans();
    }

    FakeScanEngine::Call &scanOf(int grey) { return engine.callWith(plainImage(grey)); }

    const Detection face = makeFace({0.1, 0.6, 0.2, 0.2});
};

TEST_F(ConcurrentBatchScan, KeepsAsManyItemsInFlightAsTheEngineRunsAtOnce)
{
    loadFour();
    EXPECT_EQ(engine.callCount(), 3);
    EXPECT_EQ(statuses(), (QStringList{"Scanning", "Scanning", "Scanning", "Queued"}));
    EXPECT_TRUE(isScanRunning(state()));
}

TEST_F(ConcurrentBatchScan, AnItemThatEndsFirstFreesItsPlaceForTheNextQueuedOne)
{
    loadFour();
    scanOf(30).finish({face});
    drainScans();
    EXPECT_EQ(statuses(), (QStringList{"Scanning", "Scanning", "1 to redact", "Scanning"}));
    EXPECT_EQ(engine.callCount(), 4);
    EXPECT_EQ(engine.lastCall().image, plainImage(40));
    EXPECT_EQ(state().batch.items()[2].redactionPlan().entries().size(), 1);
}

TEST_F(ConcurrentBatchScan, TheBatchEndsWhenItsLastItemEndsWhateverTheOrder)
{
    loadFour();
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(std::chrono::milliseconds(650));
    drainScans();
    for (int grey : {20, 10, 40}) {
        scanOf(grey).finish();
        drainScans();
    }
    EXPECT_TRUE(isScanRunning(state()));
    EXPECT_EQ(completionPosts, 0);
    scanOf(30).finish();
    drainScans();
    EXPECT_FALSE(isScanRunning(state()));
    EXPECT_EQ(completionPosts, 1);
    EXPECT_EQ(statuses(), (QStringList{"No findings", "No findings", "No findings", "No findings"}));
}

TEST_F(ConcurrentBatchScan, TheImageOnScreenReadsAsCheckingWhileItIsInFlight)
{
    loadFour();
    controller.selectBatchItem(state().batch.items()[2].id());
    EXPECT_TRUE(state().isChecking());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::checking);
    controller.selectBatchItem(state().batch.items()[3].id());
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::queuedForScan);
}

TEST_F(ConcurrentBatchScan, CancelStopsEveryItemInFlightAndLeavesTheQueuedOneQueued)
{
    loadFour();
    controller.cancelRunningScans();
    for (int grey : {10, 20, 30})
        EXPECT_TRUE(scanOf(grey).task.isCancelled()) << grey;
    EXPECT_FALSE(isScanRunning(state()));
    EXPECT_EQ(state().batch.items()[1].reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[2].reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[3].reviewStatusNote(), ReviewText::queuedForScan);
    EXPECT_EQ(unscannedBatchItems(state()), 1);
    // Late answers change nothing and start nothing.
    scanOf(20).finish({face});
    drainScans();
    EXPECT_EQ(engine.callCount(), 3);
    EXPECT_TRUE(state().batch.items()[1].redactionPlan().entries().isEmpty());
}

TEST_F(ConcurrentBatchScan, AQueuedItemIsDecodedOffTheMainThreadBeforeItsScanStarts)
{
    loadAndScan({fileItem("a.png", 10), fileItem("b.png", 20)});
    // The image on screen is scanned at once; the other waits for its pixels.
    EXPECT_EQ(engine.callCount(), 1);
    EXPECT_EQ(statuses(), (QStringList{"Scanning", "Scanning"}));
    drainScans();
    ASSERT_EQ(engine.callCount(), 2);
    EXPECT_EQ(engine.lastCall().image, plainImage(20));
}

TEST_F(ConcurrentBatchScan, AFileGoneBeforeItsTurnFailsWithItsBoxesKept)
{
    QTemporaryDir folder;
    const QString gone = folder.filePath("gone.png");
    ASSERT_TRUE(writeBytes(gone, encodedPng(plainImage(20))));
    ReviewDocument item = ReviewDocument::make(QUrl::fromLocalFile(gone), std::nullopt, SafeShareSourceType::folderBatch,
                                                 ReviewImageSource::importFile(gone).first, ReviewText::queuedForScan);
    ASSERT_TRUE(item.addManualBox({0.6, 0.2, 0.2, 0.1}));
    ASSERT_TRUE(QFile::remove(gone));

    loadAndScan({fileItem("a.png", 10), item});
    drainScans();
    EXPECT_EQ(engine.callCount(), 1);
    EXPECT_EQ(state().batch.items()[1].statusText(), "Needs attention");
    EXPECT_EQ(state().batch.items()[1].errorText(), ReviewText::detectionFailed);
    EXPECT_EQ(state().batch.items()[1].redactionPlan().manualDetections().size(), 1);
    EXPECT_TRUE(state().batch.items()[1].scanEnded());
    EXPECT_FALSE(state().batch.items()[1].isChecking());
}

} // namespace
} // namespace velmora::test
