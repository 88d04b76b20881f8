#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"

namespace velmora {

bool ReviewController::startCaptureTask(const TaskHandle &task, const QString &statusHint)
{
    if (m_state.captureTask || m_state.isChecking())
        return false;
    ChangeScope scope(*this);
    m_state.setErrorText(std::nullopt);
    m_state.isManualEditing = false;
    m_state.isPreviewingRedactedOutput = false;
    m_state.redactedPreviewImage = QImage();
    m_state.captureTask = task;
    m_state.setReviewStatusNote(statusHint);
    return true;
}

bool ReviewController::finishCaptureTask(const TaskHandle &task)
{
    if (m_state.captureTask && *m_state.captureTask != task)
        return false;
    if (m_state.captureTask) {
        ChangeScope scope(*this);
        m_state.captureTask.reset();
    }
    return true;
}

void ReviewController::setLastExportLocation(const ExportLocation &location)
{
    ChangeScope scope(*this);
    m_state.lastExportLocation = location;
}

} // namespace velmora
