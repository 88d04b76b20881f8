#include "app/window/manual_edit_binding.h"

#include "app/panes/manual_edit_controls.h"
#include "app/review/review_controller.h"

namespace velmora {

namespace {

void drawManualEdits(ManualEditControls &controls, const ReviewState &state)
{
    controls.showState({manualToolInputs(state), state.screen.mode() == CanvasMode::drawing, state.keepsManualEditingAfterCommit});
}

} // namespace

void bindManualEditsToReview(ManualEditControls &controls, ReviewController &review)
{
    using Controls = ManualEditControls;
    using Review = ReviewController;
    QObject::connect(&controls, &Controls::drawingToggled, &review, &Review::setManualEditing);
    QObject::connect(&controls, &Controls::keepDrawingToggled, &review, &Review::setKeepsManualEditingAfterCommit);
    QObject::connect(&controls, &Controls::undoRequested, &review,
                     [&review] { review.applyManualEditHistoryStep(Review::ManualEditStep::undo); });
    QObject::connect(&controls, &Controls::redoRequested, &review,
                     [&review] { review.applyManualEditHistoryStep(Review::ManualEditStep::redo); });
    QObject::connect(&controls, &Controls::resetRequested, &review, &Review::resetSelectedBounds);
    QObject::connect(&controls, &Controls::deleteRequested, &review, &Review::deleteSelectedManualRedaction);
    QObject::connect(&review, &ReviewController::changed, &controls,
                     [&controls, &review] { drawManualEdits(controls, review.state()); });
    drawManualEdits(controls, review.state());
}

} // namespace velmora
