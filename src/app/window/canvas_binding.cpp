#include "app/window/canvas_binding.h"

#include "app/panes/image_review_view.h"
#include "app/review/review_controller.h"
#include "app/review/review_queries.h"

namespace velmora {

namespace {

void drawReview(ImageReviewView &canvas, const ReviewState &state)
{
    // Until the bitmap of the image stepped to is in, the one before stays, dimmed.
    canvas.setWaiting(state.screen.isLoading());
    if (state.image().isNull())
        return;
    canvas.setImage(displayedImage(state));
    canvas.setRedactionPlan(state.redactionPlan());
    canvas.setSelectedDetectionId(state.selectedDetectionID());
    canvas.setManualEditing(state.screen.mode() == CanvasMode::drawing);
    canvas.setPreviewingRedactedOutput(state.screen.mode() == CanvasMode::previewing);
    canvas.setKeepsManualEditingAfterCommit(state.keepsManualEditingAfterCommit);
}

} // namespace

void bindCanvasToReview(ImageReviewView &canvas, ReviewController &review)
{
    QObject::connect(&canvas, &ImageReviewView::boxSelected, &review,
                     [&review](const QUuid &id) { review.selectDetection(id); });
    QObject::connect(&canvas, &ImageReviewView::boxAdded, &review,
                     [&review](const NormRect &bounds) { review.addManualBox(bounds); });
    QObject::connect(&canvas, &ImageReviewView::boxMoved, &review,
                     [&review](const QUuid &id, const NormRect &bounds) { review.moveBox(id, bounds); });
    QObject::connect(&canvas, &ImageReviewView::editFinished, &review, [&review] { review.finishBoxEdit(); });
    QObject::connect(&canvas, &ImageReviewView::outputPreviewWritten, &review,
                     [&review](bool on) { review.setOutputPreview(on); });
    QObject::connect(&review, &ReviewController::changed, &canvas,
                     [&canvas, &review] { drawReview(canvas, review.state()); });
    drawReview(canvas, review.state());
}

} // namespace velmora
