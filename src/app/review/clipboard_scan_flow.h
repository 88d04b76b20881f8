#pragma once

#include "app/review/review_intake.h"
#include "core/analysis/import/imported_image.h"
#include "core/protection/capture_output_policy.h"
#include "core/protection/clipboard_image_candidate.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QHash>

#include <functional>
#include <QObject>

namespace velmora {

class AutoCleanUndoCoordinator;
class ClipboardAccess;
class ClipboardProtectionMonitorPlan;
class NotificationCenter;

// The clipboard guard's scan: scans the image of each clipboard change the guard hands
// over, once, and then leaves the clipboard alone, opens the image for review or puts a
// flattened cleaned PNG in its place, as the replacement mode and the findings say. It
// reaches the review only through its intake. Owned by the window session; main
// thread only.
class ClipboardScanFlow : public QObject
{
    Q_OBJECT
public:
    /// Whether Velmora is the application in front: the AutoClean receipt is the banner
    /// then, else a desktop notification.
    using ApplicationActive = std::function<bool()>;

    /// Its replacements are marked in `monitorPlan`, so that the guard leaves them alone,
    /// and stay undoable through `autoCleanUndo`.
    ClipboardScanFlow(ReviewIntake &review, ClipboardAccess &clipboard, ClipboardProtectionMonitorPlan &monitorPlan,
                      AutoCleanUndoCoordinator &autoCleanUndo, NotificationCenter &notifications,
                      ApplicationActive isActive, QObject *parent = nullptr);

    /// The guard's candidate callback: decodes the image of one clipboard change on the
    /// thread pool and scans it, once.
    void scanClipboardImage(const ClipboardImageCandidate &candidate);
    /// Stops the scans of every clipboard change; none of them reports anything.
    void cancelScans();
    /// The change counts whose images are decoded or scanned.
    QList<qint64> scanningChangeCounts() const { return m_scanTasks.keys(); }

private:
    void scanDecodedImage(const QImage &image, const TaskHandle &task, const ClipboardImageCandidate &candidate);
    /// Records the scan, then leaves the clipboard alone, opens the image for review or
    /// renders its replacement on the thread pool.
    void handleScanResult(const ScannedPlan &scanned, const QByteArray &data, const QImage &image,
                          const TaskHandle &task, qint64 changeCount, ClipboardProtectionReplacementMode replacementMode);
    /// Opens the image for review; the clipboard is not touched.
    void pauseForReview(const ReviewIntakeImage &item, const VelmoraCaptureOutputFallbackReason &reason);
    /// Puts the flattened cleaned PNG on the clipboard in place of the image, undoable for
    /// a while; without a PNG (it could not be rendered) says the clipboard was not changed.
    /// A clipboard that changed since `changeCount` is left alone: the image is kept for review.
    void replaceWithCleanedPNG(const std::optional<QByteArray> &png, const RedactionPlan &plan, qint64 changeCount,
                               ReviewIntakeImage item);
    void showFailure(qint64 changeCount);

    ReviewIntake &m_review;
    ClipboardAccess &m_clipboard;
    ClipboardProtectionMonitorPlan &m_monitorPlan;
    AutoCleanUndoCoordinator &m_autoCleanUndo;
    NotificationCenter &m_notifications;
    ApplicationActive m_isActive;
    /// The decoding and scan of each clipboard change the guard handed over, by change count.
    QHash<qint64, TaskHandle> m_scanTasks;
};

} // namespace velmora
