#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"

namespace velmora {

void ReviewController::showImageUnavailable(const QString &sentence)
{
    ChangeScope scope(*this);
    m_state.errorText = sentence;
    if (m_state.image.isNull())
        m_state.reviewStatusNote = QStringLiteral("Open or paste an image to start.");
}

} // namespace velmora
