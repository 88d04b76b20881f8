#pragma once

#include "app/review/review_intake.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>

namespace velmora {

class NotificationCenter;

/// A watched file as it was read for its scan.
struct WatchedScreenshot
{
    ReviewImageSource source; ///< Its fingerprint, which its alert keeps.
    QImage image;
};

// The main window's half of the screenshot-folder watch: scans each settled new file
// the watch hands over, once at a time, with the detection settings of its arrival.
// Files wait their turn as paths: one is read and decoded only when a scan slot is free,
// so that no more images are in memory than the engine scans at once, however many
// files arrive together.
// A screenshot without findings leaves a history record only; one with findings is
// queued as a watched alert without touching the review on screen, announced in the
// status line or the banner and, while Velmora is not in front, by a desktop
// notification whose answer opens the newest alert. Watched files are only read, on the
// thread pool.
// Reaches the review through its intake; main thread only.
class WatchedScreenshotFlow : public QObject
{
    Q_OBJECT
public:
    /// Whether Velmora is the application in front; no notification is posted while it is.
    using ApplicationActive = std::function<bool()>;

    /// `scansAtOnce` is how many files are read and scanned at a time (at least one).
    WatchedScreenshotFlow(ReviewIntake &review, NotificationCenter &notifications, ApplicationActive isActive,
                          int scansAtOnce, QObject *parent = nullptr);

    /// The watch's handler: schedules the scan of each file in the given order.
    void scanWatchedScreenshots(const QList<QUrl> &urls);
    /// Scans one file, once a slot is free, unless a scan of it waits or runs already.
    void scanWatchedScreenshot(const QUrl &url);
    /// Stops every running scan and forgets the waiting ones; none of them reports anything.
    void cancelScans();
    /// The standardised paths of the files waiting for their scan or being scanned.
    QStringList scanningPaths() const { return m_scanTasks.keys(); }
    /// Offers the newest alert from the banner, leaving the review on screen alone.
    void offerLatestAlert();

private:
    /// A file waiting for a scan slot, with the detection settings of its arrival.
    struct WaitingScreenshot
    {
        QString key;
        TaskHandle task;
        CustomDetectionConfiguration configuration;
    };

    /// Reads and scans waiting files, oldest first, while slots are free.
    void startWaitingScans();
    void readAndScan(const WaitingScreenshot &waiting);
    /// A file's read or scan has ended: its entry goes while it still belongs to `task`,
    /// and its slot to the next waiting file.
    void endScan(const QString &key, const TaskHandle &task);
    void scanDecoded(const WatchedScreenshot &screenshot, const CustomDetectionConfiguration &configuration,
                     const QString &key, const TaskHandle &task);
    void handleWatchedScanResult(const RedactionPlan &plan, const QString &path, const ReviewImageSource &scannedFile);
    void handleWatchedScanFailure();
    /// Tells the user an alert was queued, without disturbing the review on screen.
    void announce(int findingCount);

    ReviewIntake &m_review;
    NotificationCenter &m_notifications;
    ApplicationActive m_isActive;
    int m_scansAtOnce;
    /// The scan of each watched file, waiting or running, by standardised path.
    QHash<QString, TaskHandle> m_scanTasks;
    QList<WaitingScreenshot> m_waiting;
    /// Files being read or scanned, cancelled ones included until their work has ended.
    int m_inFlight = 0;
};

} // namespace velmora
