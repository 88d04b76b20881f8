#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"
#include "app/review/review_status_text.h"

namespace velmora {

void ReviewController::cancelScansOnClose()
{
    ChangeScope scope(*this);
    const bool wasChecking = m_state.isChecking;
    cancelCurrentDetection();
    cancelBatchScan();
    // The review stays; the boxes found so far are what is left to review.
    if (wasChecking)
        m_state.reviewStatusNote = ReviewText::detectionCanceled;
    syncCurrentItemToBatch();
}

} // namespace velmora
