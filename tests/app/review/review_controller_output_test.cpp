#include "review_output_fixture.h"

#include "app/review/review_queries.h"
#include "app/review/review_warning_text.h"
#include "support/file_bytes.h"
#include "support/metadata_chunks.h"
#include "support/row_name.h"

#include <QFile>

namespace velmora::test {
namespace {

// --- The review gate ---------------------------------------------------------------------

struct GateRow
{
    const char *name;
    ShareAction action;
    const char *continueTitle;
};

class ReviewGate : public OutputTest, public ::testing::WithParamInterface<GateRow>
{
};

TEST_P(ReviewGate, HoldsTheShareWhileAFindingNeedsReviewAndContinuesOnRequest)
{
    const GateRow &row = GetParam();
    // One finding of low confidence needs review; the batch has two images.
    loadUnscanned({scannedItem("a.png", {email(0.2, 0.5)}), scannedItem("b.png", {email(0.4)})});
    dialogs.destinationAnswer = m_dir.filePath("a-redacted.png");
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());

    controller.runShareCommand(row.action);
    EXPECT_TRUE(controller.shareGate().isShowingReviewWarning());
    EXPECT_EQ(controller.shareGate().pendingAction(), row.action);
    EXPECT_EQ(reviewWarningContinueTitle(row.action), QString::fromUtf8(row.continueTitle));
    EXPECT_EQ(clipboard.changes, 0);
    EXPECT_TRUE(entriesOf(m_dir.path()).isEmpty());
    EXPECT_TRUE(dialogs.saveRequests.isEmpty() && dialogs.folderRequests.isEmpty());

    controller.continuePendingShare();
    drainScans();
    drainScans();
    EXPECT_FALSE(controller.shareGate().isShowingReviewWarning());
    EXPECT_FALSE(controller.shareGate().pendingAction().has_value());
    EXPECT_EQ(history().size(), 1);
    EXPECT_EQ(clipboard.changes, row.action == ShareAction::copy ? 1 : 0);
    EXPECT_EQ(entriesOf(m_dir.path()).isEmpty(), row.action == ShareAction::copy);
}

TEST_P(ReviewGate, CancelOrClosingTheReviewDropsTheShare)
{
    loadUnscanned({scannedItem("a.png", {email(0.2, 0.5)}), scannedItem("b.png", {})});
    controller.runShareCommand(GetParam().action);
    controller.cancelPendingShare();
    EXPECT_FALSE(controller.shareGate().isShowingReviewWarning());
    EXPECT_FALSE(controller.shareGate().pendingAction().has_value());
    controller.runShareCommand(GetParam().action);
    controller.closeCurrentReview();
    EXPECT_FALSE(controller.shareGate().isShowingReviewWarning());
    controller.continuePendingShare();
    drainScans();
    EXPECT_EQ(clipboard.changes, 0);
    EXPECT_TRUE(dialogs.saveRequests.isEmpty() && dialogs.folderRequests.isEmpty());
    EXPECT_TRUE(history().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, ReviewGate, ::testing::Values(
    GateRow{"Copy", ShareAction::copy, "Copy anyway"},
    GateRow{"Export", ShareAction::export_, "Export anyway"},
    GateRow{"BatchExport", ShareAction::batchExport, "Export batch anyway"}),
    test::rowName);

TEST_F(OutputTest, BatchGateCountsEveryItemNotJustTheOneOnScreen)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)}), scannedItem("b.png", {email(0.3, 0.5)})});
    controller.runShareCommand(ShareAction::copy);
    EXPECT_FALSE(controller.shareGate().isShowingReviewWarning()) << "the image on screen needs nothing";
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_TRUE(controller.shareGate().isShowingReviewWarning());
    EXPECT_EQ(reviewWarningMessage(state(), ShareAction::batchExport).left(10), "1 finding ");
}

TEST_F(OutputTest, NothingLeavesWhileTheImageIsBeingScannedOrNoScanHasReachedIt)
{
    dialogs.destinationAnswer = m_dir.filePath("out.png");
    controller.loadBatch({fileItem("a.png"), fileItem("b.png")}, QStringLiteral("2 images loaded."), 0, true);
    for (const ReviewDocument &item : QList<ReviewDocument>(state().batch.items())) {
        controller.selectBatchItem(item.id());
        ASSERT_EQ(state().isChecking(), item.id() == state().batch.items().first().id());
        EXPECT_FALSE(canShareCurrentImage(state()));
        controller.runShareCommand(ShareAction::copy);
        controller.runShareCommand(ShareAction::export_);
    }
    EXPECT_EQ(clipboard.changes, 0);
    EXPECT_TRUE(dialogs.saveRequests.isEmpty());
    EXPECT_FALSE(controller.shareGate().isShowingReviewWarning());
}

// --- Copy --------------------------------------------------------------------------------

TEST_F(OutputTest, CopyPutsAFlattenedPngWithoutMetadataOnTheClipboard)
{
    QImage withText = plainImage();
    withText.setText(QStringLiteral("Comment"), QStringLiteral("secret@example.com"));
    ReviewDocument item = ReviewDocument::make(QUrl::fromLocalFile("/shots/a.png"), std::nullopt,
                                               SafeShareSourceType::fileImport, ReviewImageSource::encode(withText), {});
    item.adoptOwnPlan(RedactionPlan({}, {test::makeFinding({0, 0, 0.5, 1})}, {}), std::nullopt);
    loadUnscanned({item});
    settings->setValue(Setting::policySourceID, QStringLiteral("imported"));

    controller.runShareCommand(ShareAction::copy);

    drainScans();

    ASSERT_EQ(clipboard.types(), QStringList({"image/png"}));
    const QByteArray png = clipboard.data(QStringLiteral("image/png"));
    EXPECT_EQ(pngMetadataChunks(png).join(','), QString());
    const QImage copied = QImage::fromData(png, "PNG");
    ASSERT_EQ(copied.size(), QSize(40, 30));
    EXPECT_EQ(copied.pixel(5, 15), qRgb(0, 0, 0));
    EXPECT_EQ(copied.pixel(35, 15), qRgb(200, 200, 200));
    EXPECT_TRUE(guard.monitorPlan().handledChangeCounts().contains(clipboard.changeCount()));
    EXPECT_EQ(state().reviewStatusNote(),
              "Cleaned PNG copied. Paste this shareable artifact; the source image was not changed.");
    EXPECT_EQ(banner().text(), "Copied cleaned PNG");
    EXPECT_FALSE(banner().primaryAction().has_value());

    ASSERT_EQ(history().size(), 1);
    const SafeShareHistoryRecord record = history().first();
    EXPECT_EQ(record.action, SafeShareAction::copyCleanedPNG);
    EXPECT_EQ(record.sourceType, SafeShareSourceType::fileImport);
    EXPECT_EQ(record.totalFindings, 1);
    EXPECT_EQ(record.policySummary, "Imported policy");
    EXPECT_FALSE(record.outputPath.has_value());
}

TEST_F(OutputTest, CopyWithoutAnImageDoesNothing)
{
    controller.runShareCommand(ShareAction::copy);
    drainScans();
    EXPECT_EQ(clipboard.changes, 0);
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(OutputTest, ACopyTheClipboardRefusesIsReportedAsFailed)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    clipboard.writesToRefuse = 1;

    controller.runShareCommand(ShareAction::copy);

    drainScans();

    EXPECT_EQ(state().errorText(), "Copy failed. Try exporting the redacted PNG instead.");
    EXPECT_EQ(state().reviewStatusNote(), "No image was copied.");
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_TRUE(history().isEmpty());
}

// --- Export ------------------------------------------------------------------------------

TEST_F(OutputTest, ExportOffersTheSourceFolderAndStemThenRecordsTheFile)
{
    loadUnscanned({scannedItem("shot.final.tiff", {email(0.2)})});
    const QString path = m_dir.filePath("cleaned.png");
    dialogs.destinationAnswer = path;

    controller.runShareCommand(ShareAction::export_);

    drainScans();

    ASSERT_EQ(dialogs.saveRequests.size(), 1);
    EXPECT_EQ(dialogs.saveRequests.first().startFolder, "/shots");
    EXPECT_EQ(dialogs.saveRequests.first().defaultName, "shot.final-redacted.png");
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(state().lastExportLocation, (ExportLocation{QUrl::fromLocalFile(path), false}));
    EXPECT_EQ(banner().text(), "Exported cleaned image");
    EXPECT_EQ(banner().primaryAction(), CompletionBannerAction::revealLastExport);
    EXPECT_FALSE(state().errorText().has_value());
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action, SafeShareAction::exportCleanedImage);
    EXPECT_EQ(history().first().outputPath, path);
    EXPECT_EQ(history().first().sourceType, SafeShareSourceType::folderBatch);
}

TEST_F(OutputTest, ExportCancelledWritesNothing)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    controller.runShareCommand(ShareAction::export_);
    drainScans();
    EXPECT_EQ(dialogs.saveRequests.size(), 1);
    EXPECT_TRUE(history().isEmpty());
    EXPECT_FALSE(state().lastExportLocation.has_value());
}

TEST_F(OutputTest, ExportSuggestsANameNoFileHasYet)
{
    loadUnscanned({scannedItem(m_dir.filePath("shot.png"), {email(0.2)})});
    const QString first = m_dir.filePath("shot-redacted.png");
    dialogs.destinationAnswer = first;
    controller.runShareCommand(ShareAction::export_);
    drainScans();
    ASSERT_TRUE(QFileInfo::exists(first));
    controller.runShareCommand(ShareAction::export_);
    drainScans();
    ASSERT_EQ(dialogs.saveRequests.size(), 2);
    EXPECT_EQ(dialogs.saveRequests[0].defaultName, "shot-redacted.png");
    EXPECT_EQ(dialogs.saveRequests[1].defaultName, "shot-redacted-2.png");
}

TEST_F(OutputTest, AConfirmedReplaceWritesTheCleanedImageInPlace)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    const QString existing = m_dir.filePath("existing.png");
    ASSERT_TRUE(writeBytes(existing, "old export"));
    dialogs.destinationAnswer = existing;

    controller.runShareCommand(ShareAction::export_);

    drainScans();

    EXPECT_FALSE(state().errorText().has_value());
    EXPECT_TRUE(fileBytes(existing).startsWith("\x89PNG"));
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList({"existing.png"})); // nothing left beside it
    EXPECT_EQ(state().lastExportLocation, (ExportLocation{QUrl::fromLocalFile(existing), false}));
    EXPECT_EQ(history().size(), 1);
}

struct ExportFailureRow
{
    const char *name;
    const char *destination; ///< Inside the test folder, which holds "source.png" and "other.png".
    const char *symlink;     ///< A link of that name to "other.png" is made first.
};

class ExportFailures : public OutputTest, public ::testing::WithParamInterface<ExportFailureRow>
{
};

TEST_P(ExportFailures, SayNoFileWasWrittenAndTouchNothing)
{
    for (const char *name : {"source.png", "other.png"})
        ASSERT_TRUE(writeBytes(m_dir.filePath(name), "keep me"));
    QStringList expected{"other.png", "source.png"};
    if (*GetParam().symlink) {
        ASSERT_TRUE(QFile::link(m_dir.filePath("other.png"), m_dir.filePath(GetParam().symlink)));
        expected.append(GetParam().symlink);
        expected.sort();
    }
    loadUnscanned({scannedItem(m_dir.filePath("source.png"), {email(0.2)})});
    dialogs.destinationAnswer = m_dir.filePath(GetParam().destination);

    controller.runShareCommand(ShareAction::export_);

    drainScans();

    EXPECT_EQ(state().errorText(), "Export failed. Choose another save location.");
    EXPECT_EQ(state().reviewStatusNote(), "No file was written.");
    EXPECT_EQ(entriesOf(m_dir.path()), expected);
    EXPECT_EQ(fileBytes(m_dir.filePath("source.png")), "keep me");
    EXPECT_EQ(fileBytes(m_dir.filePath("other.png")), "keep me");
    EXPECT_TRUE(history().isEmpty());
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_FALSE(state().lastExportLocation.has_value());
}

INSTANTIATE_TEST_SUITE_P(Rows, ExportFailures, ::testing::Values(
    ExportFailureRow{"ParentIsARegularFile", "other.png/out.png", ""},
    ExportFailureRow{"TargetIsTheSource", "source.png", ""},
    ExportFailureRow{"TargetIsASymbolicLink", "link.png", "link.png"},
    ExportFailureRow{"TargetIsTheSourceByAnotherPath", "./source.png", ""}),
    test::rowName);

// --- Batch export ------------------------------------------------------------------------

TEST_F(OutputTest, BatchExportCreatesANewNumberedFolderEachRun)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)}), scannedItem("b.png", {}), scannedItem("a.jpg", {email(0.5)})});
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());

    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    ASSERT_EQ(dialogs.folderRequests.size(), 1);
    EXPECT_EQ(dialogs.folderRequests.first().text,
              (FolderPanelText{"Choose Batch Export Folder",
                               "Velmora will create a Velmora Cleaned folder here and write flattened cleaned PNG copies.",
                               "Export Batch"}));
    const QString first = m_dir.filePath("Velmora Cleaned");
    EXPECT_EQ(entriesOf(first), QStringList({"a-redacted-2.png", "a-redacted.png", "b-redacted.png"}));
    EXPECT_EQ(pngMetadataChunks(fileBytes(first + "/a-redacted.png")).join(','), QString());
    EXPECT_EQ(state().lastExportLocation, (ExportLocation{QUrl::fromLocalFile(first), true}));
    EXPECT_EQ(banner().text(), "Exported 3 cleaned images");
    EXPECT_EQ(banner().primaryAction(), CompletionBannerAction::revealLastExport);
    EXPECT_EQ(state().reviewStatusNote(), "3 cleaned images exported to Velmora Cleaned.");

    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList({"Velmora Cleaned", "Velmora Cleaned 2"}));
    EXPECT_EQ(entriesOf(m_dir.filePath("Velmora Cleaned 2")).size(), 3);

    ASSERT_EQ(history().size(), 2);
    const SafeShareHistoryRecord record = history().first();
    EXPECT_EQ(record.action, SafeShareAction::batchExport);
    EXPECT_EQ(record.batchItemCount, 3);
    EXPECT_EQ(record.totalFindings, 2);
    EXPECT_EQ(record.outputPath, m_dir.filePath("Velmora Cleaned 2"));
}

TEST_F(OutputTest, BatchExportWritesTheEditsOfTheImageOnScreen)
{
    loadUnscanned({scannedItem("a.png", {test::makeFinding({0, 0, 1, 1})}), scannedItem("b.png", {})});
    controller.setAllFindingsIncluded(false);
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    const QImage written = QImage::fromData(fileBytes(m_dir.filePath("Velmora Cleaned/a-redacted.png")), "PNG");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.pixel(20, 15), qRgb(200, 200, 200)) << "the finding was switched off before the export";
    EXPECT_EQ(history().first().offFindings, 1);
}

TEST_F(OutputTest, IncludeSafeDecidesWhetherCleanImagesAreWritten)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)}), scannedItem("b.png", {})});
    controller.setIncludesCleanBatchExports(false);
    EXPECT_EQ(exportableBatchItems(state()).size(), 1);
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_EQ(entriesOf(m_dir.filePath("Velmora Cleaned")), QStringList({"a-redacted.png"}));
    EXPECT_EQ(banner().text(), "Exported 1 cleaned image");
}

TEST_F(OutputTest, BatchExportWithNothingExportableAsksForNoFolder)
{
    loadUnscanned({scannedItem("a.png", {}), scannedItem("b.png", {})});
    controller.setIncludesCleanBatchExports(false);
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_TRUE(dialogs.folderRequests.isEmpty());
}

TEST_F(OutputTest, BatchExportIntoARegularFileFailsWithItsSentences)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)}), scannedItem("b.png", {})});
    const QString file = m_dir.filePath("plain-file");
    ASSERT_TRUE(writeBytes(file, {}));
    dialogs.folderAnswer = QUrl::fromLocalFile(file);
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_EQ(state().errorText(), "Batch export failed. Choose another folder and try again.");
    EXPECT_EQ(state().reviewStatusNote(), "No batch export was completed.");
    EXPECT_EQ(entriesOf(m_dir.path()), QStringList({"plain-file"}));
    EXPECT_TRUE(history().isEmpty());
}

TEST_F(OutputTest, AFailedImageUndoesTheWholeBatchExport)
{
    ReviewDocument broken = ReviewDocument::make(QUrl::fromLocalFile("/shots/broken.png"), std::nullopt, {},
                                                 ReviewImageSource::fromBytes("not an image"), {}); // cannot be decoded
    broken.adoptOwnPlan(RedactionPlan(), std::nullopt);
    loadUnscanned({scannedItem("a.png", {email(0.2)}), broken});
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    EXPECT_EQ(state().errorText(), ReviewText::unreadableImage);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::tryAnotherImage);
    EXPECT_TRUE(entriesOf(m_dir.path()).isEmpty()) << "neither the first image nor the folder stays";
}

} // namespace
} // namespace velmora::test
