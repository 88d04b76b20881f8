#pragma once

#include "core/protection/clipboard_image_candidate.h"
#include "core/protection/clipboard_protection_configuration.h"
#include "core/protection/clipboard_protection_monitor_plan.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace velmora {

class ClipboardAccess;
class Clock;
class StoredSettings;

// The clipboard guard. While the main window is open it polls the clipboard's change
// count, lets the monitor plan decide when a new image has settled and was never seen,
// and hands that image to the clipboard scan. The clipboard's owner is never waited
// for: what it offers is taken up when it answers. A file a copied URI list names is
// read on the thread pool, never opened on the main thread. It only reads the clipboard: every
// writer of the application marks its own change handled in `monitorPlan()`, so that
// cleaned output is never scanned again. Created once by the main window; main thread only.
class ClipboardProtectionController : public QObject
{
    Q_OBJECT
public:
    using CandidateCallback = std::function<void(const ClipboardImageCandidate &)>;

    static constexpr std::chrono::milliseconds pollInterval{450};
    static constexpr double settleInterval = 0.75;

    ClipboardProtectionController(ClipboardAccess &clipboard, StoredSettings &settings, Clock &clock,
                                  QObject *parent = nullptr);
    ~ClipboardProtectionController() override;

    /// (Re)starts from the stored switch and mode; a switch that is off only says so.
    void start(CandidateCallback onImageCandidate);
    void stop();

    bool isRunning() const { return m_isRunning; }
    QString runtimeStatus() const { return m_runtimeStatus; }
    ClipboardProtectionMonitorPlan &monitorPlan() { return m_monitorPlan; }

    /// The stored mode; an older value reads as the mode it behaves like, anything unknown as `pauseIfUnsure`.
    ClipboardProtectionReplacementMode currentReplacementMode() const;
    /// The latest reading of a file a copied URI list names (on the thread pool) and its
    /// hand-over (on the main thread), for whoever must wait until both are done.
    QFuture<void> fileRead() const { return m_fileRead; }
    /// Whether the clipboard's owner is being asked what it offers.
    bool isReadingClipboard() const { return m_imageTestUnderWay.has_value() || m_offerRead; }

signals:
    void isRunningChanged(bool isRunning);
    void runtimeStatusChanged(const QString &runtimeStatus);

private:
    void sleepThenPoll(const TaskHandle &task);
    /// Whether the clipboard holds an image at this change is asked once per change, not
    /// once per poll (the test may read a file list); the monitor plan decides on the answer.
    void poll();
    /// Lets the monitor plan decide on the change; one it chose to scan is read and handed over.
    void scanIfSettled(qint64 changeCount, bool containsImage, const QDateTime &now);
    /// Hands the image over, or, without one, marks the change handled so that it is not retried.
    void handOver(const std::optional<QByteArray> &data, qint64 changeCount);
    void setRunning(bool running);
    void setRuntimeStatus(const QString &status);

    ClipboardAccess &m_clipboard;
    StoredSettings &m_settings;
    Clock &m_clock;
    bool m_isRunning = false;
    QString m_runtimeStatus;
    std::optional<TaskHandle> m_monitorTask; ///< The polling task, cancelled by stop.
    TaskHandle m_nextPoll;                   ///< Its current sleep.
    ClipboardProtectionMonitorPlan m_monitorPlan{settleInterval};
    struct ImageTest
    {
        qint64 changeCount = 0;
        bool containsImage = false;
    };
    std::optional<ImageTest> m_lastImageTest;
    std::optional<qint64> m_imageTestUnderWay; ///< The change whose image test awaits the owner's answer.
    bool m_offerRead = false;                  ///< An image is being read from the owner.
    CandidateCallback m_onImageCandidate;
    QFuture<void> m_fileRead;
};

} // namespace velmora
