#include "app/review/unsaved_manual_edits.h"

#include "review_commands_fixture.h"

#include "support/row_name.h"

#include <QTemporaryDir>

namespace velmora::test {
namespace {

// What the discard question asks about: boxes drawn, moved or resized since the last
// copy or export.
class UnsavedManualEditsTest : public ReviewCommandsTest
{
protected:
    UnsavedManualEdits edits{controller};
    QTemporaryDir m_dir;

    /// Draws a box on the canvas, as one recorded edit.
    void drawBox(const NormRect &bounds = {0.5, 0.5, 0.2, 0.2})
    {
        const qsizetype boxes = state().redactionPlan().manualDetections().size();
        controller.addManualBox(bounds);
        ASSERT_EQ(state().redactionPlan().manualDetections().size(), boxes + 1);
    }
};

TEST_F(UnsavedManualEditsTest, FindingsTurnedOnOrOffAreNothingToLose)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)})});
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
    controller.setFindingsActive(false, {entryIDs().first()});
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
}

TEST_F(UnsavedManualEditsTest, ADrawnBoxIsUnsavedUntilCopiedOrExported)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)})});
    drawBox();
    EXPECT_EQ(edits.imageWithUnsavedEdits(), "a.png");
    controller.runShareCommand(ShareAction::copy);
    drainScans();
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
    controller.setFindingsActive(false, {entryIDs().first()});
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt) << "no box changed since the copy";

    drawBox({0.1, 0.7, 0.1, 0.1});
    EXPECT_EQ(edits.imageWithUnsavedEdits(), "a.png");
    dialogs.destinationAnswer = m_dir.filePath("out.png");
    controller.runShareCommand(ShareAction::export_);
    drainScans();
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
}

struct EditWhileSharingRow
{
    const char *name;
    ShareAction action;
};

class BoxDrawnWhileSharing : public UnsavedManualEditsTest, public ::testing::WithParamInterface<EditWhileSharingRow>
{
};

TEST_P(BoxDrawnWhileSharing, StaysUnsaved)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)}),
                   scannedItem("b.png", {})});
    drawBox();
    dialogs.destinationAnswer = m_dir.filePath("out.png");
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());
    controller.runShareCommand(GetParam().action);
    drawBox({0.1, 0.7, 0.1, 0.1});
    drainScans();
    drainScans();
    ASSERT_FALSE(state().errorText().has_value());
    EXPECT_EQ(edits.imageWithUnsavedEdits(), "a.png") << "the second box is in no output";
}

INSTANTIATE_TEST_SUITE_P(Rows, BoxDrawnWhileSharing, ::testing::Values(
    EditWhileSharingRow{"Copy", ShareAction::copy},
    EditWhileSharingRow{"Export", ShareAction::export_},
    EditWhileSharingRow{"BatchExport", ShareAction::batchExport}),
    test::rowName);

TEST_F(UnsavedManualEditsTest, UndoingEveryEditLeavesNothingToLose)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)})});
    drawBox();
    controller.applyManualEditHistoryStep(ReviewController::ManualEditStep::undo);
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
    controller.applyManualEditHistoryStep(ReviewController::ManualEditStep::redo);
    EXPECT_EQ(edits.imageWithUnsavedEdits(), "a.png");
}

TEST_F(UnsavedManualEditsTest, AnotherImageOfTheBatchKeepsItsEditsUntilTheBatchExport)
{
    loadUnscanned({scannedItem("a.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.2)}), scannedItem("b.png", {findingOf(DetectionKind::email, QStringLiteral("Email"), 0.5)})});
    drawBox();
    controller.selectBatchItem(state().batch.items().at(1).id());
    EXPECT_EQ(edits.imageWithUnsavedEdits(), "a.png");
    dialogs.folderAnswer = QUrl::fromLocalFile(m_dir.path());
    controller.runShareCommand(ShareAction::batchExport);
    drainScans();
    ASSERT_TRUE(state().lastExportLocation.has_value());
    EXPECT_EQ(edits.imageWithUnsavedEdits(), std::nullopt);
}

} // namespace
} // namespace velmora::test
