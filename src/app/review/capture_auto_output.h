#pragma once

#include "core/protection/autoclean_output_settings.h"
#include "core/protection/capture_mode.h"
#include "core/protection/capture_output_modes.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QByteArray>
#include <QFuture>
#include <QImage>
#include <QObject>

#include <functional>
#include <optional>
#include <variant>

namespace velmora {

class AutoCleanUndoCoordinator;
class ClipboardAccess;
class ClipboardProtectionMonitorPlan;
class Clock;
class NotificationCenter;
class ReviewIntake;
class StoredSettings;

/// What AutoClean of a capture reaches beyond the review.
struct CaptureAutoOutputEnvironment
{
    StoredSettings &settings;
    ClipboardAccess &clipboard;
    Clock &clock;
    /// Where the cleaned copy on the clipboard is marked, so that the clipboard guard leaves it alone.
    ClipboardProtectionMonitorPlan &monitorPlan;
    AutoCleanUndoCoordinator &autoCleanUndo;
    /// Where the receipt goes while Velmora is not in front.
    NotificationCenter &notifications;
    std::function<bool()> isApplicationActive;
};

/// A scanned capture on its way out: the bytes it was read from, its bitmap and plan.
struct ScannedCapture
{
    QByteArray encodedBytes;
    QImage image;
    RedactionPlan plan;
    VelmoraCaptureMode mode = VelmoraCaptureMode::screen;
};

/// A capture's cleaned PNG and, when the output mode saves, the file it was saved as.
struct CleanedCapture
{
    QByteArray png;
    std::optional<QString> savedPath;
};

/// What the thread pool made of a capture: its cleaned copy, or why there is none.
using PreparedCaptureOutput = std::variant<CleanedCapture, CaptureAutoOutputError>;

// AutoClean of a capture: the flattened cleaned PNG is copied to the clipboard, saved
// into the capture output folder, or both, without opening the review; it stays
// undoable for a while, leaves a receipt (the banner while Velmora is in front, else a
// desktop notification) and a history record. A failure has changed
// nothing that anyone could lose: the caller then opens the capture for review.
// The PNG is rendered and the file written on the thread pool (prepare); the clipboard,
// receipt and record follow on the main thread (deliver). One output at a time: going
// away, it waits for the one that runs and removes the file of an output never delivered.
class CaptureAutoOutput : public QObject
{
    Q_OBJECT
public:
    using Prepared = std::function<void(const PreparedCaptureOutput &output)>;

    CaptureAutoOutput(ReviewIntake &review, CaptureAutoOutputEnvironment environment, QObject *parent = nullptr);
    ~CaptureAutoOutput() override;

    /// Renders the cleaned PNG and, when `outputMode` saves, writes it into the output
    /// folder, on the thread pool; `done` gets the result here, from the event loop.
    /// Nothing is saved once `task` is cancelled.
    void prepare(const ScannedCapture &capture, VelmoraCaptureOutputMode outputMode, const TaskHandle &task,
                 Prepared done);
    /// Puts the prepared output on the clipboard when the mode copies, and leaves the undo,
    /// receipt and record. Nothing on success, else why it did not happen.
    std::optional<CaptureAutoOutputError> deliver(const ScannedCapture &capture, VelmoraCaptureOutputMode outputMode,
                                                  const PreparedCaptureOutput &output);
    /// Removes the file an output that is not delivered saved.
    static void discard(const PreparedCaptureOutput &output);
    /// The running (or last) work, for whoever must wait until it is done.
    QFuture<void> work() const { return QFuture<void>(m_work); }

private:
    ReviewIntake &m_review;
    CaptureAutoOutputEnvironment m_environment;
    QFuture<PreparedCaptureOutput> m_work;
    /// Whether the running work's result has yet to reach its `done`.
    bool m_undelivered = false;
};

} // namespace velmora
