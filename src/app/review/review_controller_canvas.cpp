#include "app/review/review_controller.h"
#include "app/review/review_controller_private.h"

namespace velmora {

namespace {

const QString manualBoxLabel = QStringLiteral("Manual redaction");
const QString manualBoxReason = QStringLiteral("Added by the user.");

} // namespace

void ReviewController::selectBoxOnCanvas(const QUuid &detectionID)
{
    selectDetection(detectionID);
}

void ReviewController::addManualBox(const NormRect &bounds)
{
    BatchReviewItem *item = m_state.currentItem();
    if (!item || item->isChecking)
        return;
    RedactionPlan plan = item->redactionPlan;
    // The plan clamps the box to the image and refuses one under its smallest size.
    const std::optional<QUuid> id = plan.addManualRedaction(manualBoxLabel, manualBoxReason, bounds);
    if (!id)
        return;
    ChangeScope scope(*this);
    commitPlanEdit(plan);
    item->selectedDetectionID = id;
    setManualEditing(m_state.keepsManualEditingAfterCommit);
    refreshAfterPlanChange();
}

void ReviewController::moveBox(const QUuid &detectionID, const NormRect &bounds)
{
    BatchReviewItem *item = m_state.currentItem();
    if (!item || item->isChecking)
        return;
    RedactionPlan plan = item->redactionPlan;
    if (!plan.updateBounds(detectionID, bounds))
        return;
    ChangeScope scope(*this);
    if (!m_planBeforeBoxEdit)
        m_planBeforeBoxEdit = item->redactionPlan;
    item->redactionPlan = plan;
    refreshAfterPlanChange();
}

void ReviewController::finishBoxEdit()
{
    const std::optional<RedactionPlan> before = std::exchange(m_planBeforeBoxEdit, std::nullopt);
    BatchReviewItem *item = m_state.currentItem();
    if (!before || !item)
        return;
    ChangeScope scope(*this);
    item->manualEditHistory.record(*before, item->redactionPlan);
    refreshAfterPlanChange();
}

} // namespace velmora
