#pragma once

#include "app/review/review_model_enums.h"

#include <optional>

namespace velmora {

// The review gate in front of Copy, Export and batch export: a share while findings
// still need review is held and the review warning raised, until the user goes on or
// drops it. Owned by the review controller; a new gate is one with nothing held.
class ShareGate
{
public:
    /// True when nothing needs review and the share may go on at once; else holds it
    /// and raises the warning.
    bool admit(ShareAction action, int needsReviewCount);
    /// The share the warning holds, taken off; the warning goes down.
    std::optional<ShareAction> take();

    /// The share the warning holds; nothing while the warning is down.
    std::optional<ShareAction> pendingAction() const { return m_pendingAction; }
    bool isShowingReviewWarning() const { return m_pendingAction.has_value(); }

private:
    std::optional<ShareAction> m_pendingAction;
};

} // namespace velmora
