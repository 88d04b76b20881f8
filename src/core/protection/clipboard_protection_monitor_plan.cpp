#include "core/protection/clipboard_protection_monitor_plan.h"

#include <algorithm>

namespace velmora {

ClipboardProtectionMonitorPlan::ClipboardProtectionMonitorPlan(double settleInterval)
    : m_settleInterval(settleInterval)
{
}

ClipboardProtectionScanDecision ClipboardProtectionMonitorPlan::decide(qint64 changeCount, bool containsImage,
                                                                       const QDateTime &now)
{
    if (m_handledChangeCounts.contains(changeCount)) {
        m_pendingImageChange.reset();
        return ClipboardProtectionScanDecision::ignore();
    }
    if (!containsImage) {
        // Remembered as done, so that an image offered later under the same count is not scanned.
        m_pendingImageChange.reset();
        addHandled(changeCount);
        return ClipboardProtectionScanDecision::ignore();
    }
    if (m_pendingImageChange && m_pendingImageChange->changeCount == changeCount) {
        const double waitedSeconds = m_pendingImageChange->firstObservedAt.msecsTo(now) / 1000.0;
        if (waitedSeconds < m_settleInterval)
            return ClipboardProtectionScanDecision::wait();
        m_pendingImageChange.reset();
        addHandled(changeCount);
        return ClipboardProtectionScanDecision::scan(changeCount);
    }
    m_pendingImageChange = PendingClipboardImageChange{changeCount, now};
    return ClipboardProtectionScanDecision::wait();
}

void ClipboardProtectionMonitorPlan::markHandled(qint64 changeCount)
{
    if (m_pendingImageChange && m_pendingImageChange->changeCount == changeCount)
        m_pendingImageChange.reset();
    addHandled(changeCount);
}

void ClipboardProtectionMonitorPlan::trimHandledChangeCounts(int limit)
{
    const auto keep = static_cast<std::size_t>(std::max(limit, 0));
    while (m_handledChangeCounts.size() > keep)
        m_handledChangeCounts.erase(m_handledChangeCounts.begin());
}

void ClipboardProtectionMonitorPlan::addHandled(qint64 changeCount)
{
    m_handledChangeCounts.insert(changeCount);
    trimHandledChangeCounts(handledChangeCountLimit);
}

} // namespace velmora
