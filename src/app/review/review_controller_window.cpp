#include "app/review/review_controller.h"
#include "app/review/review_controller_private.h"

namespace velmora {

void ReviewController::applyCanvasPlan(const RedactionPlan &plan)
{
    // A binding write: the canvas reports the change right after, and the upkeep that
    // follows tells the window to draw again.
    setRedactionPlan(plan);
}

void ReviewController::setCanvasSelection(const std::optional<QUuid> &detectionID)
{
    setSelectedDetectionID(detectionID);
}

void ReviewController::handleCanvasPlanChange()
{
    ChangeScope scope(*this);
    refreshAfterPlanChange();
}

void ReviewController::recordManualEdit(const RedactionPlan &before, const RedactionPlan &after)
{
    BatchReviewItem *item = m_state.currentItem();
    if (!item)
        return;
    ChangeScope scope(*this);
    item->manualEditHistory.record(before, after);
}

} // namespace velmora
