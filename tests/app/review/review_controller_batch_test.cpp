#include "review_controller_fixture.h"

#include "app/review/review_queries.h"
#include "app/review/review_status_text.h"

#include <QDir>
#include <QTemporaryDir>

namespace velmora {
namespace {

class BatchLoading : public test::ReviewControllerTest
{
};

TEST_F(BatchLoading, SkippedFilesSetTheErrorLine)
{
    controller.loadBatch({test::fileItem("a.png"), test::fileItem("b.png")}, QStringLiteral("2 images loaded."), 3, false);
    drainScans();
    EXPECT_EQ(state().errorText(), "3 image files could not be opened and were skipped.");
    EXPECT_EQ(state().reviewStatusNote(), "2 images loaded.");
    EXPECT_EQ(state().batch.selectedID(), state().batch.items()[0].id());
    EXPECT_EQ(state().image(), state().batch.items()[0].source().decode().image);
    EXPECT_FALSE(state().batch.items()[0].errorText());
}

TEST_F(BatchLoading, WithoutSkippedFilesTheErrorLineIsTheFirstItems)
{
    ReviewDocument failed = test::fileItem("a.png");
    failed.setErrorText(QStringLiteral("Detection failed. Automated detections were cleared."));
    controller.loadBatch({test::fileItem("old.png")}, {}, 2, false);
    controller.loadBatch({failed}, QStringLiteral("Loaded."), 0, false);
    EXPECT_EQ(state().errorText(), failed.errorText());
    controller.loadBatch({test::fileItem("b.png")}, QStringLiteral("Loaded."), 0, false);
    EXPECT_FALSE(state().errorText());
}

TEST_F(BatchLoading, ThreeImagesUpdateEveryRowAndTheImageOnScreen)
{
    ReviewDocument failing = test::fileItem("b.png", 20);
    ASSERT_TRUE(failing.addManualBox({0.6, 0.2, 0.2, 0.1}));
    loadAndScan({test::fileItem("a.png", 10), failing, test::fileItem("c.png", 30)});
    EXPECT_EQ(statuses(), (QStringList{"Scanning", "Queued", "Queued"}));
    EXPECT_TRUE(state().isChecking());

    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    engine.lastCall().finish({face});
    drainScans();
    EXPECT_EQ(statuses(), (QStringList{"1 to redact", "Scanning", "Queued"}));
    EXPECT_FALSE(state().isChecking());
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].id(), face.id);
    EXPECT_EQ(state().reviewStatusNote(), "Review the boxes, then export a cleaned image or copy a PNG.");

    engine.lastCall().failText();
    engine.lastCall().finishVisual();
    drainScans();
    Detection doubtful = test::makeFace({0.5, 0.1, 0.2, 0.2});
    doubtful.confidence = 0.5;
    engine.lastCall().finish({doubtful});
    drainScans();
    EXPECT_EQ(statuses(), (QStringList{"1 to redact", "Needs attention", "1 to check"}));
    EXPECT_FALSE(isBatchChecking(state()));
    EXPECT_FALSE(isScanRunning(state()));
    EXPECT_EQ(processedBatchItems(state()), 3);
    EXPECT_EQ(state().batch.items()[0].redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().batch.items()[1].redactionPlan().manualDetections().size(), 1) << "a failed scan keeps the boxes";
}

TEST_F(BatchLoading, CancelSaysSoOnEveryItemInFlightAndLeavesTheQueuedOnesQueued)
{
    engine.scansAtOnce = 2;
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png"), test::fileItem("c.png")});
    controller.cancelRunningScans();
    EXPECT_EQ(state().batch.items()[1].reviewStatusNote(), ReviewText::detectionCanceled);
    EXPECT_EQ(state().batch.items()[2].reviewStatusNote(), ReviewText::queuedForScan);
}

TEST_F(BatchLoading, TheImageOnScreenReadsAsCheckingWhileTheBatchScansIt)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png"), test::fileItem("c.png")});
    engine.lastCall().finish();
    drainScans();
    controller.selectBatchItem(state().batch.items()[1].id());
    EXPECT_TRUE(state().isChecking());
    EXPECT_TRUE(state().batch.items()[1].isChecking());
    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    engine.lastCall().finish({face});
    drainScans();
    EXPECT_FALSE(state().isChecking());
    ASSERT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().redactionPlan().entries()[0].id(), face.id);
    EXPECT_EQ(state().batch.items()[1].redactionPlan().entries().size(), 1);
}

TEST_F(BatchLoading, LeavingTheImageTheBatchScansKeepsItScanning)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png"), test::fileItem("c.png")});
    controller.selectBatchItem(state().batch.items()[1].id());
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(statuses(), (QStringList{"Scanning", "Queued", "Queued"}));
    EXPECT_TRUE(isBatchChecking(state()));
    controller.selectBatchItem(state().batch.items()[0].id());
    EXPECT_TRUE(state().isChecking());
    engine.lastCall().finish();
    drainScans();
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(statuses(), (QStringList{"No findings", "Scanning", "Queued"}));
}

TEST_F(BatchLoading, CancellingMidBatchLeavesNoItemChecking)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png"), test::fileItem("c.png")});
    engine.lastCall().finish();
    drainScans();
    controller.selectBatchItem(state().batch.items()[1].id());
    controller.cancelRunningScans();
    EXPECT_FALSE(isBatchChecking(state()));
    EXPECT_FALSE(state().isChecking());
    EXPECT_EQ(statuses(), (QStringList{"No findings", "Queued", "Queued"}));
}

TEST_F(BatchLoading, CancellingTheSingleScanEndsTheItemsCheck)
{
    loadScanned({});
    controller.startDetection();
    EXPECT_TRUE(state().batch.items()[0].isChecking());
    controller.cancelRunningScans();
    EXPECT_FALSE(state().batch.items()[0].isChecking());
}

TEST_F(BatchLoading, SuccessClearsTheItemErrorButKeepsTheSkippedNotice)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png")}, 1);
    EXPECT_EQ(state().errorText(), "1 image file could not be opened and was skipped.");
    engine.lastCall().finish({test::makeFace({0.1, 0.6, 0.2, 0.2})});
    drainScans();
    EXPECT_FALSE(state().batch.items()[0].errorText());
    EXPECT_EQ(state().errorText(), "1 image file could not be opened and was skipped.");
    engine.lastCall().finish();
    drainScans();
    EXPECT_EQ(cleanBatchItems(state()), 1);
}

TEST_F(BatchLoading, ShowingAnItemSelectsItAndMarksItReviewed)
{
    loadAndScan({test::fileItem("a.png"), test::fileItem("b.png", 40)});
    engine.lastCall().finish();
    drainScans();
    engine.lastCall().finish({test::makeFace({0.1, 0.6, 0.2, 0.2})});
    drainScans();
    controller.selectBatchItem(state().batch.items()[1].id());
    drainScans();
    EXPECT_EQ(state().batch.selectedID(), state().batch.items()[1].id());
    EXPECT_EQ(state().image(), test::plainImage(40));
    EXPECT_EQ(state().redactionPlan().entries().size(), 1);
    EXPECT_EQ(state().sourceImageURL(), QUrl::fromLocalFile("/shots/b.png"));
    EXPECT_TRUE(state().batch.items()[1].didReviewInBatch());
}

class ImportFailure : public test::ReviewControllerTest
{
protected:
    /// Opens an empty folder: under an image's name it reads as an image that could not be
    /// opened, under another as no image Velmora can open.
    void openEmptyFolder(const QString &name)
    {
        QDir(m_folder.path()).mkdir(name);
        controller.loadImageURLs({QUrl::fromLocalFile(m_folder.filePath(name))}, {}, true);
        drainScans();
    }

    QTemporaryDir m_folder;
};

TEST_F(ImportFailure, WithAnImageOnScreenOnlyTheSentencesChange)
{
    const Detection face = test::makeFace({0.1, 0.6, 0.2, 0.2});
    loadScanned({face});
    ReviewDocument item = state().batch.items()[0];
    ASSERT_TRUE(item.addManualBox({0.6, 0.2, 0.2, 0.1}));
    controller.loadBatch({item}, {}, 0, false);
    drainScans();
    openEmptyFolder(QStringLiteral("x.png"));
    EXPECT_EQ(state().errorText(), "That image could not be opened.");
    EXPECT_EQ(state().reviewStatusNote(), "Try another image.");
    EXPECT_EQ(state().redactionPlan().entries().size(), 2);
    EXPECT_TRUE(state().manualEditHistory().canUndo());
    EXPECT_FALSE(state().batch.items()[0].errorText());
}

TEST_F(ImportFailure, WithNothingLoadedItStopsScansAndEmptiesThePlan)
{
    openEmptyFolder(QStringLiteral("shots"));
    EXPECT_EQ(state().errorText(), "Use a PNG, JPEG, TIFF, or HEIC image.");
    EXPECT_EQ(state().reviewStatusNote(), "Try another image.");
    EXPECT_TRUE(state().redactionPlan().entries().isEmpty());
    EXPECT_FALSE(state().manualEditHistory().canUndo());
}

} // namespace
} // namespace velmora
