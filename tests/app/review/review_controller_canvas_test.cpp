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

TEST_F(CanvasIntents, BoxesAddedClickedOrMovedOnScreenActOnTheImageUnderReviewAndEndDrawMode)
{
    const RedactionPlan before = state().redactionPlan();
    controller.setManualEditing(true);
    controller.addManualBox({0.5, 0.5, 0.2, 0.1});
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    EXPECT_EQ(state().selectedDetectionID(), state().redactionPlan().manualDetections().first().id);
    // A click selects a box and ends draw mode too.
    controller.setManualEditing(true);
    controller.selectDetection(before.entries().first().id());
    EXPECT_EQ(state().selectedDetectionID(), before.entries().first().id());
    EXPECT_NE(state().screen.mode(), CanvasMode::drawing);
    controller.moveBox(before.entries().first().id(), {0.3, 0.3, 0.2, 0.2});
    controller.finishBoxEdit();
    EXPECT_EQ(state().batch.items().first().redactionPlan(), state().redactionPlan());
    controller.applyManualEditHistoryStep(Step::undo);
    controller.applyManualEditHistoryStep(Step::undo);
    EXPECT_EQ(state().redactionPlan(), before);
}

TEST_F(CanvasIntents, DrawModeStaysOnAfterABoxWhenAskedToUntilItIsTurnedOff)
{
    controller.setKeepsManualEditingAfterCommit(true);
    controller.setManualEditing(true);
    controller.addManualBox({0.5, 0.5, 0.2, 0.1});
    EXPECT_EQ(state().screen.mode(), CanvasMode::drawing);
    EXPECT_EQ(state().reviewStatusNote(), ReviewText::drawManualRedaction);
    controller.setManualEditing(false);
    EXPECT_TRUE(state().keepsManualEditingAfterCommit) << "only its own toggle and closing end it";
}

} // namespace
} // namespace velmora::test
