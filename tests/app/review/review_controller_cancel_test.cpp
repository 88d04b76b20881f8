#include "review_controller_fixture.h"

#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"

#include <QTemporaryDir>

namespace velmora::test {
namespace {

// The Cancel detection command stops whichever scan runs and says so.
class CancelCommand : public ReviewControllerTest
{
protected:
    void loadThree()
    {
        loadAndScan({fileItem("a.png"), fileItem("b.png"), fileItem("c.png")});
        engine.lastCall().finish();
        drainScans();
    }
};

TEST_F(CancelCommand, StopsTheScanOfANewlyOpenedImage)
{
    loadAndScan({fileItem("one.png")});
    ASSERT_TRUE(isScanRunning(state()));

    controller.cancelRunningScans();

    EXPECT_FALSE(isScanRunning(state()));
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[0].reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_FALSE(state().batch.items()[0].isChecking());
    // The late answer of the stopped scan changes nothing.
    engine.lastCall().finish({makeFace({0.1, 0.6, 0.2, 0.2})});
    drainScans();
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::detectionCanceled);
    // An image whose scan was cancelled can be shared.
    EXPECT_TRUE(canShareCurrentImage(state()));
    controller.runShareCommand(ShareAction::copy);
    drainScans();
    EXPECT_EQ(clipboard.changes, 1);
}

TEST_F(CancelCommand, InABatchStopsTheBatchScanAndLeavesQueuedItemsQueued)
{
    loadThree();
    controller.selectBatchItem(state().batch.items()[1].id());
    ASSERT_TRUE(state().isChecking());

    controller.cancelRunningScans();

    EXPECT_FALSE(isBatchChecking(state()));
    EXPECT_EQ(statuses(), (QStringList{"No findings", "Queued", "Queued"}));
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[1].reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[2].reviewStatusNote(), ReviewText::queuedForScan);
    EXPECT_EQ(unscannedBatchItems(state()), 1);

    // The queued items can be scanned again.
    const int calls = engine.callCount();
    controller.applyCustomDetectionSettings(std::nullopt);
    clock.advance(std::chrono::milliseconds(650));
    drainScans();
    EXPECT_EQ(engine.callCount(), calls + 1);
    EXPECT_TRUE(isBatchChecking(state()));
}

TEST_F(CancelCommand, AnImageTheBatchScanWasNotOnKeepsItsOwnStatus)
{
    loadThree();
    const QString firstNote = state().reviewStatusNote();

    controller.cancelRunningScans();

    EXPECT_EQ(state().reviewStatusNote(), firstNote);
    EXPECT_EQ(state().batch.items()[1].reviewStatusNote(), ReviewText::detectionCanceled);
}

TEST_F(CancelCommand, WithNoScanRunningChangesNothing)
{
    loadScanned({});
    const QString note = state().reviewStatusNote();
    int changes = 0;
    QObject::connect(&controller, &ReviewController::changed, [&] { ++changes; });

    controller.cancelRunningScans();

    EXPECT_EQ(changes, 0);
    EXPECT_EQ(state().reviewStatusNote(), note);
}

// --- What may leave the application ------------------------------------------------------

TEST_F(CancelCommand, BatchExportLeavesOutUnscannedItemsAndSaysHowMany)
{
    QTemporaryDir dir;
    loadThree();
    controller.cancelRunningScans();
    dialogs.folderAnswer = QUrl::fromLocalFile(dir.path());

    controller.runShareCommand(ShareAction::batchExport);
    drainScans();

    const QString folder = dir.filePath(QStringLiteral("Velmora Cleaned"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name), QStringList({"a-redacted.png", "b-redacted.png"}));
    EXPECT_EQ(state().reviewStatusNote(),
              "2 cleaned images exported to Velmora Cleaned. 1 image not yet scanned was left out.");
}

TEST_F(CancelCommand, ABatchExportShowsItsProgressAndEndsWithItsSentence)
{
    QTemporaryDir dir;
    loadThree();
    for (int i = 0; i < 2; ++i) {
        engine.lastCall().finish();
        drainScans();
    }
    dialogs.folderAnswer = QUrl::fromLocalFile(dir.path());

    controller.runShareCommand(ShareAction::batchExport);
    EXPECT_TRUE(state().isExportingBatch);
    EXPECT_TRUE(state().reviewStatusNote().startsWith("Exporting cleaned images: ")) << state().reviewStatusNote().toStdString();
    controller.runShareCommand(ShareAction::batchExport);
    EXPECT_EQ(dialogs.folderRequests.size(), 1) << "one export at a time";
    drainScans();

    EXPECT_FALSE(state().isExportingBatch);
    EXPECT_EQ(state().reviewStatusNote(), "3 cleaned images exported to Velmora Cleaned.");
}

} // namespace
} // namespace velmora::test

