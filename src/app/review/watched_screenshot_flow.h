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

    WatchedScreenshotFlow(ReviewIntake &review, NotificationCenter &notifications, ApplicationActive isActive,
                          QObject *parent = nullptr);

    /// The watch's handler: schedules the scan of each file in the given order.
    void scanWatchedScreenshots(const QList<QUrl> &urls);
    /// Scans one file unless a scan of it runs already.
    void scanWatchedScreenshot(const QUrl &url);
    /// Stops every running scan; none of them reports anything.
    void cancelScans();
    /// The standardised paths of the files being scanned.
    QStringList scanningPaths() const { return m_scanTasks.keys(); }
    /// Offers the newest alert from the banner, leaving the review on screen alone.
    void offerLatestAlert();

private:
    void scanDecoded(const WatchedScreenshot &screenshot, const CustomDetectionConfiguration &configuration,
                     const QString &key, const TaskHandle &task);
    /// Drops the file's entry while it still belongs to `task`.
    void forget(const QString &key, const TaskHandle &task);
    void handleWatchedScanResult(const RedactionPlan &plan, const QString &path, const ReviewImageSource &scannedFile);
    void handleWatchedScanFailure(const QString &key);
    /// Tells the user an alert was queued, without disturbing the review on screen.
    void announce(int findingCount);

    ReviewIntake &m_review;
    NotificationCenter &m_notifications;
    ApplicationActive m_isActive;
    /// The running scan of each watched file, by standardised path.
    QHash<QString, TaskHandle> m_scanTasks;
};

} // namespace velmora
