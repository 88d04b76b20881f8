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

TEST_F(CanvasIntents, BoxesAddedOrMovedOnScreenAreEditsOfTheImageUnderReview)
{
    const RedactionPlan before = state().redactionPlan();
    controller.setManualEditing(true);
    controller.addManualBox({0.5, 0.5, 0.2, 0.1});
    EXPECT_FALSE(state().isManualEditing);
    EXPECT_EQ(state().selectedDetectionID(), state().redactionPlan().manualDetections().first().id);
    controller.moveBox(before.entries().first().id(), {0.3, 0.3, 0.2, 0.2});
    controller.finishBoxEdit();
    EXPECT_EQ(state().batch.items().first().redactionPlan(), state().redactionPlan());
    controller.applyManualEditHistoryStep(Step::undo);
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

TEST_F(CanvasIntents, AClickSelectsTheBoxAndEndsDrawMode)
{
    const QUuid id = state().redactionPlan().entries().first().id();
    controller.setManualEditing(true);
    controller.selectDetection(id);
    EXPECT_EQ(state().selectedDetectionID(), id);
    EXPECT_FALSE(state().isManualEditing);
}

} // namespace
} // namespace velmora::test
