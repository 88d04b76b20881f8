#include "core/protection/screenshot_folder_watch_plan.h"

namespace velmora {

ScreenshotFolderWatchPlan::ScreenshotFolderWatchPlan(double settleInterval) : m_settleInterval(settleInterval) {}

void ScreenshotFolderWatchPlan::recordBaseline(const QList<ScreenshotWatchCandidate> &listing)
{
    for (const ScreenshotWatchCandidate &candidate : listing)
        markKnown(candidate.id());
}

void ScreenshotFolderWatchPlan::observe(const QList<ScreenshotWatchCandidate> &listing, const QDateTime &now)
{
    QSet<QString> listedIDs;
    for (const ScreenshotWatchCandidate &candidate : listing)
        listedIDs.insert(candidate.id());
    // A file that is gone (or a listing that failed) ends the wait; it is new if it comes back.
    m_pendingCandidates.removeIf([&](const auto &pending) { return !listedIDs.contains(pending.key()); });

    for (const ScreenshotWatchCandidate &candidate : listing) {
        const QString id = candidate.id();
        if (m_knownCandidateIDs.contains(id))
            continue;
        auto pending = m_pendingCandidates.find(id);
        if (pending == m_pendingCandidates.end()) {
            m_pendingCandidates.insert(id, {candidate, now});
            continue;
        }
        // The URL may be written differently; only size and time tell a change.
        const ScreenshotWatchCandidate &seen = pending->candidate;
        if (seen.fileSize != candidate.fileSize || seen.modificationDate != candidate.modificationDate)
            *pending = {candidate, now};
    }
}

QList<ScreenshotWatchCandidate> ScreenshotFolderWatchPlan::readyCandidates(
    const QList<ScreenshotWatchCandidate> &listing, const QDateTime &now)
{
    observe(listing, now);
    QList<ScreenshotWatchCandidate> ready;
    for (const PendingCandidate &pending : std::as_const(m_pendingCandidates)) {
        const double quietSeconds = double(pending.lastChangedAt.msecsTo(now)) / 1000.0;
        if (quietSeconds >= m_settleInterval)
            ready.append(pending.candidate);
    }
    sortByFileName(ready);
    for (const ScreenshotWatchCandidate &candidate : std::as_const(ready))
        markKnown(candidate.id());
    return ready;
}

void ScreenshotFolderWatchPlan::markKnown(const QString &id)
{
    m_knownCandidateIDs.insert(id);
    m_pendingCandidates.remove(id);
}

} // namespace velmora
