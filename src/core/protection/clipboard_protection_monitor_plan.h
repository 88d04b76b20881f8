#pragma once

#include "core/support/raw_enum.h"

#include <QDateTime>
#include <QtGlobal>

#include <optional>
#include <set>

namespace velmora {

/// The monitor plan's answer to one poll of the clipboard.
struct ClipboardProtectionScanDecision
{
    enum class Case {
        scan,   ///< The change has settled and was never seen: scan `changeCount` now.
        ignore, ///< Done already, or no image.
        wait,   ///< An image change that has not yet stood still long enough.
    };

    Case kind = Case::ignore;
    qint64 changeCount = 0; ///< Set for `scan` only.

    static ClipboardProtectionScanDecision scan(qint64 changeCount) { return {Case::scan, changeCount}; }
    static ClipboardProtectionScanDecision ignore() { return {Case::ignore, 0}; }
    static ClipboardProtectionScanDecision wait() { return {Case::wait, 0}; }

    friend bool operator==(const ClipboardProtectionScanDecision &, const ClipboardProtectionScanDecision &) = default;
};

/// An image change that is waiting to settle.
struct PendingClipboardImageChange
{
    qint64 changeCount = 0;
    QDateTime firstObservedAt; ///< First poll that saw this count with an image.

    friend bool operator==(const PendingClipboardImageChange &, const PendingClipboardImageChange &) = default;
};

// Turns polled (change count, holds an image, now) observations into one decision per
// poll. Applications often change the clipboard several times in a row when they copy
// an image, so a change is scanned only after it has stood still for the settle
// interval, and never twice: the counts already dealt with, the application's own
// writes among them, are remembered. Change counts only grow, so keeping the most
// recent few is enough. Owned by the clipboard guard, used on the main thread.
class ClipboardProtectionMonitorPlan
{
public:
    static constexpr int handledChangeCountLimit = 12;

    /// `settleInterval` in seconds.
    explicit ClipboardProtectionMonitorPlan(double settleInterval);

    ClipboardProtectionScanDecision decide(qint64 changeCount, bool containsImage, const QDateTime &now);
    /// Records a change as done; clears the pending change when it is that one.
    void markHandled(qint64 changeCount);
    /// Keeps the `limit` largest handled counts.
    void trimHandledChangeCounts(int limit);

    double settleInterval() const { return m_settleInterval; }
    const std::optional<PendingClipboardImageChange> &pendingImageChange() const { return m_pendingImageChange; }
    const std::set<qint64> &handledChangeCounts() const { return m_handledChangeCounts; }

    friend bool operator==(const ClipboardProtectionMonitorPlan &, const ClipboardProtectionMonitorPlan &) = default;

private:
    void addHandled(qint64 changeCount);

    double m_settleInterval = 0;
    std::optional<PendingClipboardImageChange> m_pendingImageChange;
    std::set<qint64> m_handledChangeCounts;
};

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ClipboardProtectionScanDecision::Case,
    {velmora::ClipboardProtectionScanDecision::Case::scan, "scan"},
    {velmora::ClipboardProtectionScanDecision::Case::ignore, "ignore"},
    {velmora::ClipboardProtectionScanDecision::Case::wait, "wait"});
