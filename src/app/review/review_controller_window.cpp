#include "app/review/review_controller.h"
#include "app/review/review_controller_private.h"

namespace velmora {

void ReviewController::applyCanvasPlan(const RedactionPlan &plan)
{
    // A binding write: the canvas reports the change right after, and the upkeep that
    // follows tells the window to draw again.
    m_state.redactionPlan = plan;
}

void ReviewController::setCanvasSelection(const std::optional<QUuid> &detectionID)
{
    m_state.selectedDetectionID = detectionID;
}

void ReviewController::handleCanvasPlanChange()
{
    ChangeScope scope(*this);
    refreshAfterPlanChange();
}

void ReviewController::recordManualEdit(const RedactionPlan &before, const RedactionPlan &after)
{
    ChangeScope scope(*this);
    m_state.manualEditHistory.record(before, after);
    syncCurrentItemToBatch();
}

} // namespace velmora
