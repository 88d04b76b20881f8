#include "review_output_fixture.h"

#include "app/review/review_queries.h"
#include "support/row_name.h"

#include <QFileInfo>

// Copy and Export while their cleaned image is made off the main thread: one at a time,
// and the result stays with the image it was made of.
namespace velmora::test {
namespace {

struct ShareRow
{
    const char *name;
    ShareAction action;
};

class OneOutputAtATime : public OutputTest, public ::testing::WithParamInterface<ShareRow>
{
};

TEST_P(OneOutputAtATime, NoSecondCopyOrExportStartsUntilTheFirstHasEnded)
{
    loadUnscanned({scannedItem("a.png", {email(0.2)})});
    dialogs.destinationAnswer = m_dir.filePath("a-redacted.png");
    controller.runShareCommand(GetParam().action);
    ASSERT_TRUE(state().isWritingCleanedImage);
    EXPECT_FALSE(canShareCurrentImage(state())) << "Copy and Export are disabled";

    controller.runShareCommand(ShareAction::copy);
    controller.runShareCommand(ShareAction::export_);
    controller.runShareCommand(ShareAction::copy);
    controller.runShareCommand(ShareAction::export_);
    drainScans();

    EXPECT_FALSE(state().isWritingCleanedImage);
    EXPECT_TRUE(canShareCurrentImage(state()));
    EXPECT_EQ(history().size(), 1);
    EXPECT_EQ(clipboard.changes, GetParam().action == ShareAction::copy ? 1 : 0);
    EXPECT_EQ(dialogs.saveRequests.size(), GetParam().action == ShareAction::export_ ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, OneOutputAtATime, ::testing::Values(
    ShareRow{"Copy", ShareAction::copy},
    ShareRow{"Export", ShareAction::export_}),
    test::rowName);

struct LeftImageRow
{
    const char *name;
    ShareAction action;
    bool closesReview; ///< Else the next image is shown.
    bool fails;
};

class OutputOfAnImageNoLongerOnScreen : public OutputTest, public ::testing::WithParamInterface<LeftImageRow>
{
};

TEST_P(OutputOfAnImageNoLongerOnScreen, IsRecordedForItAndShowsOnNoOtherImage)
{
    const LeftImageRow &row = GetParam();
    ReviewDocument first = scannedItem("a.png", {email(0.2), email(0.6)});
    const QUuid firstID = first.id();
    loadUnscanned({first, scannedItem("b.png", {})});
    const QString path = m_dir.filePath(row.fails ? "missing/a-redacted.png" : "a-redacted.png");
    dialogs.destinationAnswer = path;
    clipboard.writesToRefuse = row.fails ? 1 : 0;
    QSignalSpy shared(&controller, &ReviewController::cleanedOutputShared);

    controller.runShareCommand(row.action);
    if (row.closesReview)
        controller.closeCurrentReview();
    else
        controller.selectBatchItem(state().batch.items()[1].id());
    const QString statusBefore = state().reviewStatusNote();
    drainScans();

    EXPECT_EQ(state().reviewStatusNote(), statusBefore);
    EXPECT_FALSE(state().errorText().has_value());
    EXPECT_FALSE(banner().text().has_value());
    EXPECT_FALSE(state().isWritingCleanedImage);
    const bool isCopy = row.action == ShareAction::copy;
    EXPECT_EQ(clipboard.types(), !isCopy || row.fails ? QStringList() : QStringList({"image/png"}));
    EXPECT_EQ(QFileInfo::exists(path), !isCopy && !row.fails);
    if (!row.closesReview) {
        const ReviewDocument &left = state().batch.items()[0];
        EXPECT_EQ(left.errorText().has_value(), row.fails);
        EXPECT_EQ(left.reviewStatusNote().endsWith("the source image was not changed."), !row.fails)
            << left.reviewStatusNote().toStdString();
    }
    if (row.fails) {
        EXPECT_TRUE(history().isEmpty());
        EXPECT_TRUE(shared.isEmpty());
        return;
    }
    ASSERT_EQ(history().size(), 1);
    EXPECT_EQ(history().first().action,
              isCopy ? SafeShareAction::copyCleanedPNG : SafeShareAction::exportCleanedImage);
    EXPECT_EQ(history().first().sourceType, SafeShareSourceType::folderBatch);
    EXPECT_EQ(history().first().totalFindings, 2);
    // Only an image still loaded can have work to lose.
    ASSERT_EQ(shared.size(), row.closesReview ? 0 : 1);
    if (!row.closesReview) {
        EXPECT_EQ(shared.first().first().value<QList<QUuid>>(), QList<QUuid>({firstID}));
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, OutputOfAnImageNoLongerOnScreen, ::testing::Values(
    LeftImageRow{"CopyThenNextImage", ShareAction::copy, false, false},
    LeftImageRow{"ExportThenNextImage", ShareAction::export_, false, false},
    LeftImageRow{"CopyThenClose", ShareAction::copy, true, false},
    LeftImageRow{"ExportThenClose", ShareAction::export_, true, false},
    LeftImageRow{"FailedCopyThenNextImage", ShareAction::copy, false, true},
    LeftImageRow{"FailedExportThenNextImage", ShareAction::export_, false, true}),
    test::rowName);

} // namespace
} // namespace velmora::test
