#include "app/review/share_gate.h"

#include <utility>

namespace velmora {

bool ShareGate::admit(ShareAction action, int needsReviewCount)
{
    if (needsReviewCount < 1)
        return true;
    m_pendingAction = action;
    return false;
}

std::optional<ShareAction> ShareGate::take()
{
    return std::exchange(m_pendingAction, std::nullopt);
}

} // namespace velmora
