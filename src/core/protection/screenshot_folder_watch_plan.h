#pragma once

#include "core/protection/screenshot_folder_snapshot.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

namespace velmora {

// Which new files of the watched folder are ready to be scanned. A file is new when
// it was not there at the baseline; it is ready once two listings at least the settle
// interval apart saw the same size and modification time; it is reported once and
// never again for the life of the plan (that is, until the watch restarts). Holds no
// timers or handles: the folder watcher lists the folder and passes the time in.
class ScreenshotFolderWatchPlan
{
public:
    /// `settleInterval` in seconds, kept as given.
    explicit ScreenshotFolderWatchPlan(double settleInterval);

    /// The listing made right after the watch started: these files are never reported.
    void recordBaseline(const QList<ScreenshotWatchCandidate> &listing);
    /// Records what a new listing shows: vanished pending files are dropped, changed
    /// ones start their settle time again, unseen ones start pending.
    void observe(const QList<ScreenshotWatchCandidate> &listing, const QDateTime &now);
    /// Observes the listing, then returns the pending files that stood still for the
    /// settle interval, in file-name order, and marks them known.
    QList<ScreenshotWatchCandidate> readyCandidates(const QList<ScreenshotWatchCandidate> &listing,
                                                    const QDateTime &now);

    double settleInterval() const { return m_settleInterval; }
    const QSet<QString> &knownCandidateIDs() const { return m_knownCandidateIDs; }
    /// Whether a new file is still waiting to settle.
    bool hasPendingCandidates() const { return !m_pendingCandidates.isEmpty(); }

private:
    struct PendingCandidate
    {
        ScreenshotWatchCandidate candidate;
        QDateTime lastChangedAt;
    };

    void markKnown(const QString &id);

    double m_settleInterval = 0;
    QSet<QString> m_knownCandidateIDs;
    QHash<QString, PendingCandidate> m_pendingCandidates;
};

} // namespace velmora
