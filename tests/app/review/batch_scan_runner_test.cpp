#include "app/review/batch_scan_runner.h"

#include "review_test_items.h"
#include "support/event_loop.h"
#include "support/fake_scan_engine.h"
#include "support/image_bytes.h"
#include "support/temp_folder_test.h"

#include <QFile>

namespace velmora::test {
namespace {

// A batch scan over a small table of items, three scans at once: the engine's calls are
// finished in whatever order a case needs, and what the runner tells the review is recorded.
class BatchScan : public TempFolderTest
{
protected:
    BatchScan() { engine.scansAtOnce = 3; }

    QUuid add(BatchScanPixels pixels, BatchScanBoxes boxes = {})
    {
        ids.append(QUuid::createUuid());
        items.insert(ids.last(), {std::move(pixels), std::move(boxes)});
        return ids.last();
    }
    void start(const QList<QUuid> &queue) { runner.start(queue, SensitiveTextDetector(CustomDetectionConfiguration())); }
    /// Four bitmaps; grey 10, 20, 30, 40 tell their scans apart.
    void startFour()
    {
        for (int grey : {10, 20, 30, 40})
            add(plainImage(grey));
        start(ids);
    }
    FakeScanEngine::Call &scanOf(int grey) { return engine.callWith(plainImage(grey)); }

    FakeScanEngine engine;
    QHash<QUuid, std::pair<BatchScanPixels, BatchScanBoxes>> items;
    QList<QUuid> ids, started, finished;
    QList<std::pair<ScanOutcome, BatchScanBoxes>> outcomes;
    int runsFinished = 0;
    BatchScanRunner runner{engine, {
        .startItem = [this](const QUuid &id) -> std::optional<BatchScanPixels> {
            started.append(id);
            return items.value(id).first;
        },
        .boxes = [this](const QUuid &id) -> std::optional<BatchScanBoxes> { return items.value(id).second; },
        .finishItem = [this](const QUuid &id, const ScanOutcome &outcome, const BatchScanBoxes &boxes) {
            finished.append(id);
            outcomes.append({outcome, boxes});
        },
        .finished = [this] { ++runsFinished; },
        .preferences = [] { return DetectorCategoryPreferences(); },
        .asOneChange = [](const std::function<void()> &step) { step(); },
    }};
};

TEST_F(BatchScan, KeepsAsManyItemsInFlightAsTheEngineRunsAtOnce)
{
    startFour();
    EXPECT_EQ(engine.callCount(), 3);
    EXPECT_EQ(started, ids.first(3));
    EXPECT_EQ(runner.itemsInFlight(), ids.first(3));
}

TEST_F(BatchScan, AnItemThatEndsFirstFreesItsPlaceForTheNextQueuedOne)
{
    startFour();
    scanOf(30).finish({makeFace({0.1, 0.6, 0.2, 0.2})});
    finishPoolWork();
    ASSERT_EQ(finished, QList<QUuid>{ids[2]});
    EXPECT_EQ(std::get<ScannedPlan>(outcomes[0].first).plan.entries().size(), 1);
    EXPECT_EQ(runner.itemsInFlight(), (QList<QUuid>{ids[0], ids[1], ids[3]}));
}

TEST_F(BatchScan, TheRunEndsWhenItsLastItemEndsWhateverTheOrder)
{
    startFour();
    for (int grey : {20, 10, 40}) {
        scanOf(grey).finish();
        finishPoolWork();
    }
    EXPECT_TRUE(runner.isRunning());
    EXPECT_EQ(runsFinished, 0);
    scanOf(30).finish();
    finishPoolWork();
    EXPECT_FALSE(runner.isRunning());
    EXPECT_EQ(runsFinished, 1);
    EXPECT_EQ(finished, (QList<QUuid>{ids[1], ids[0], ids[3], ids[2]}));
}

TEST_F(BatchScan, AnEmptyRunEndsAtOnce)
{
    start({});
    EXPECT_EQ(runsFinished, 1);
    EXPECT_FALSE(runner.isRunning());
}

TEST_F(BatchScan, CancelStopsEveryItemInFlightAndNeverStartsTheQueuedOne)
{
    startFour();
    runner.cancel();
    for (int grey : {10, 20, 30})
        EXPECT_TRUE(scanOf(grey).task.isCancelled()) << grey;
    EXPECT_FALSE(runner.isRunning());
    // Late answers report nothing and start nothing.
    scanOf(20).finish({makeFace({0.1, 0.6, 0.2, 0.2})});
    finishPoolWork();
    EXPECT_EQ(started, ids.first(3));
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_EQ(runsFinished, 0);
}

TEST_F(BatchScan, ANewRunDropsWhatTheOldOneStillDelivers)
{
    startFour();
    start({add(plainImage(50))});
    scanOf(10).finish();
    finishPoolWork();
    EXPECT_TRUE(finished.isEmpty());
    EXPECT_EQ(runner.itemsInFlight(), QList<QUuid>{ids.last()});
}

TEST_F(BatchScan, BoxesDrawnWhileAnItemIsQueuedAreScannedWithIt)
{
    startFour();
    const Detection box = manualBox(0.2);
    items[ids[3]].second.detections = {box};
    scanOf(10).finish();
    finishPoolWork();
    scanOf(40).finish();
    finishPoolWork();
    EXPECT_EQ(std::get<ScannedPlan>(outcomes.at(1).first).plan.manualDetections(), QList<Detection>{box});
}

TEST_F(BatchScan, AQueuedItemIsDecodedOffTheMainThreadBeforeItsScanStarts)
{
    add(plainImage(10));
    add(ReviewImageSource::encode(plainImage(20)));
    start(ids);
    // The bitmap is scanned at once; the source waits for its pixels.
    EXPECT_EQ(engine.callCount(), 1);
    EXPECT_TRUE(runner.isDecoding());
    finishPoolWork();
    ASSERT_EQ(engine.callCount(), 2);
    EXPECT_EQ(engine.lastCall().image, plainImage(20));
}

TEST_F(BatchScan, AFileGoneBeforeItsTurnFailsWithItsBoxesKept)
{
    const QString gone = write("gone.png", encodedPng(plainImage(20)));
    const Detection box = manualBox(0.2);
    add(plainImage(10));
    const QUuid goneID = add(ReviewImageSource::importFile(gone).first, {{box}, {{box.id, false}}});
    ASSERT_TRUE(QFile::remove(gone));

    start(ids);
    finishPoolWork();
    ASSERT_EQ(finished, QList<QUuid>{goneID});
    EXPECT_TRUE(std::holds_alternative<VelmoraCoreError>(outcomes[0].first));
    EXPECT_EQ(outcomes[0].second.detections, QList<Detection>{box});
    EXPECT_EQ(outcomes[0].second.activeStates, (QHash<QUuid, bool>{{box.id, false}}));
}

} // namespace
} // namespace velmora::test
