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

void ReviewController::openLastAutoCleanReviewItem()
{
    if (!m_state.lastAutoCleanReviewItem)
        return;
    const BatchReviewItem item = *m_state.lastAutoCleanReviewItem;
    loadBatch({item}, item.reviewStatusNote, 0, false);
}

void ReviewController::openLatestWatchedScreenshot()
{
    if (m_state.watchedScreenshotQueue.items.isEmpty())
        return;
    const BatchReviewItem item = m_state.watchedScreenshotQueue.items.takeFirst();
    loadBatch({item}, item.reviewStatusNote, 0, false);
}

} // namespace velmora
