#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"
#include "app/review/review_status_text.h"

namespace velmora {

void ReviewController::showImageUnavailable(const QString &sentence)
{
    ChangeScope scope(*this);
    m_state.errorText = sentence;
    if (m_state.image.isNull())
        m_state.reviewStatusNote = QStringLiteral("Open or paste an image to start.");
}

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
