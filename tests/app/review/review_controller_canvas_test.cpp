#include "review_commands_fixture.h"

namespace velmora::test {
namespace {

using Step = ReviewController::ManualEditStep;

// The canvas only asks; the review changes its plan and keeps the edit history.
class CanvasIntents : public ReviewCommandsTest
{
protected:
    void SetUp() override { loadUnscanned({scannedItem("a.png", {makeFinding({0.1, 0.1, 0.2, 0.2})})}); }
};

TEST_F(CanvasIntents, AnAddedBoxIsALabelledSelectedManualBoxAndOneUndoStep)
{
    const RedactionPlan before = state().redactionPlan();

    controller.addManualBox({0.5, 0.5, 0.2, 0.1});

    ASSERT_EQ(state().redactionPlan().manualDetections().size(), 1);
    const Detection added = state().redactionPlan().manualDetections().first();
    EXPECT_EQ(added.label, "Manual redaction");
    EXPECT_EQ(added.reason, "Added by the user.");
    EXPECT_EQ(added.source, DetectionSource::user);
    EXPECT_EQ(state().selectedDetectionID(), added.id);
    EXPECT_FALSE(state().isManualEditing);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_EQ(state().redactionPlan(), before);
}

TEST_F(CanvasIntents, DrawModeStaysOnAfterABoxWhenAskedTo)
{
    controller.setKeepsManualEditingAfterCommit(true);
    controller.setManualEditing(true);
    controller.addManualBox({0.5, 0.5, 0.2, 0.1});
    EXPECT_TRUE(state().isManualEditing);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::drawManualRedaction);
}

TEST_F(CanvasIntents, TheSmallestBoxIsAddedAndASmallerOneIsNot)
{
    controller.addManualBox({0.5, 0.5, 0.001, 0.04});
    EXPECT_TRUE(state().redactionPlan().manualDetections().isEmpty());
    EXPECT_FALSE(state().manualEditHistory().canUndo());
    controller.addManualBox({0.5, 0.5, 0.002, 0.002});
    EXPECT_EQ(state().redactionPlan().manualDetections().size(), 1);
}

TEST_F(CanvasIntents, NothingIsAddedOrMovedWhileTheImageIsScanned)
{
    controller.startDetection();
    const RedactionPlan before = state().redactionPlan();
    controller.addManualBox({0.5, 0.5, 0.2, 0.1});
    controller.moveBox(before.entries().first().id(), {0.3, 0.3, 0.2, 0.2});
    controller.finishBoxEdit();
    EXPECT_EQ(state().redactionPlan(), before);
}

TEST_F(CanvasIntents, AMoveChangesThePlanAtOnceAndTheWholeDragIsOneUndoStep)
{
    const RedactionPlan before = state().redactionPlan();
    const QUuid id = before.entries().first().id();

    controller.moveBox(id, {0.2, 0.1, 0.2, 0.2});
    controller.moveBox(id, {0.4, 0.1, 0.2, 0.2});
    EXPECT_TRUE(rectNear(state().redactionPlan().entries().first().detection.normalizedBounds, {0.4, 0.1, 0.2, 0.2}));
    EXPECT_FALSE(state().manualEditHistory().canUndo()) << "the drag has not ended";

    controller.finishBoxEdit();
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_EQ(state().redactionPlan(), before);
    EXPECT_FALSE(state().manualEditHistory().canUndo());
}

TEST_F(CanvasIntents, AnEditThatMovedNothingRecordsNoStep)
{
    controller.finishBoxEdit();
    EXPECT_FALSE(state().manualEditHistory().canUndo());
}

TEST_F(CanvasIntents, AClickSelectsTheBoxAndEndsDrawMode)
{
    const QUuid id = state().redactionPlan().entries().first().id();
    controller.setManualEditing(true);
    controller.selectBoxOnCanvas(id);
    EXPECT_EQ(state().selectedDetectionID(), id);
    EXPECT_FALSE(state().isManualEditing);
}

} // namespace
} // namespace velmora::test
