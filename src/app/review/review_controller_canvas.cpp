#include "app/review/review_controller.h"
#include "app/review/review_controller_private.h"

namespace velmora {

void ReviewController::selectBoxOnCanvas(const QUuid &detectionID)
{
    selectDetection(detectionID);
}

void ReviewController::addManualBox(const NormRect &bounds)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->addManualBox(bounds))
        return;
    ChangeScope scope(*this);
    setManualEditing(m_state.keepsManualEditingAfterCommit);
    refreshAfterPlanChange();
}

void ReviewController::moveBox(const QUuid &detectionID, const NormRect &bounds)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->moveBox(detectionID, bounds))
        return;
    ChangeScope scope(*this);
    refreshAfterPlanChange();
}

void ReviewController::finishBoxEdit()
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->finishBoxEdit())
        return;
    ChangeScope scope(*this);
    refreshAfterPlanChange();
}

} // namespace velmora
