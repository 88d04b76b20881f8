#pragma once

#include "app/protection/screen_capture_service.h"
#include "app/review/capture_auto_output.h"
#include "app/review/image_scan.h"
#include "core/detection/custom_detection_configuration.h"
#include "core/protection/capture_mode.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QObject>

#include <functional>

namespace velmora {

class ReviewIntake;

/// Runs `open`, which replaces the review in progress, once nothing would be lost or the
/// user agreed; runs `wait` instead while another application is in front and hand-made
/// boxes would be lost.
using ReplaceReview = std::function<void(std::function<void()> open, std::function<void()> wait)>;

/// What a capture reaches beyond the review.
struct CaptureFlowEnvironment
{
    ScreenCaptureService captureService;
    CaptureAutoOutputEnvironment output;
    /// Brings the application and its main window to the front.
    std::function<void()> bringAppForward;
    ReplaceReview replaceReview;
};

// A capture from the request to its ending: the capture tool takes the screenshot, the
// image is scanned, and by the stored output settings it opens for review or AutoClean
// copies or saves its cleaned copy at once. One capture at a time; the review holds its
// task, so closing the review cancels it (which ends the tool). The screenshot's file is
// read and decoded on the thread pool, and AutoClean's cleaned copy is made there too; a
// result that comes back after the flow is gone is dropped. Every ending says what happened in the status line. Main thread only.
class CaptureFlow : public QObject
{
    Q_OBJECT
public:
    CaptureFlow(ReviewIntake &review, CaptureFlowEnvironment environment, QObject *parent = nullptr);

    /// Starts a capture of `mode`; ignored while a capture runs or an image is scanned.
    void beginCapture(VelmoraCaptureMode mode);
    /// The reading of the last capture's screenshot, for whoever must wait until it is done.
    QFuture<void> reading() const { return m_reading; }
    /// AutoClean's work on the last capture, for whoever must wait until it is done.
    QFuture<void> autoOutput() const { return m_autoOutput.work(); }

private:
    /// What reading the capture's file gave: its bytes and image, or none of them.
    struct CaptureRead;

    /// Reads the whole file, which is then removed whether or not it could be read (no
    /// screenshot stays behind in the temporary folder), and decodes it unless the
    /// capture was cancelled meanwhile. Runs on the thread pool.
    static CaptureRead readCapture(const QString &path, const TaskHandle &task);
    void handleCaptureEnding(VelmoraCaptureMode mode, const TaskHandle &task,
                             const CustomDetectionConfiguration &configuration, const CaptureOutcome &outcome);
    void handleCaptureRead(const CaptureRead &read, VelmoraCaptureMode mode, const TaskHandle &task,
                           const CustomDetectionConfiguration &configuration);
    void handleScanEnding(const QByteArray &bytes, const QImage &image, VelmoraCaptureMode mode, const TaskHandle &task,
                          const ScanOutcome &outcome);
    /// Opens the capture for review or hands it to AutoClean, as the output settings say.
    void handleCaptureOutcome(const ScannedCapture &capture, const TaskHandle &task);
    /// Delivers AutoClean's cleaned copy, or opens the capture for review when it failed.
    void handleAutoOutput(const ScannedCapture &capture, VelmoraCaptureOutputMode mode, const TaskHandle &task,
                          const PreparedCaptureOutput &output);
    /// Opens the capture with the sentence and, when given, the error line; a capture
    /// waiting behind the review on screen shows them there.
    void openCaptureForReview(const ScannedCapture &capture, const QString &statusSentence,
                              const std::optional<QString> &errorText = std::nullopt);
    void showCanceled(const TaskHandle &task, const QString &sentence);
    /// The failure endings: the explanation in the status line, `errorText` in the error line.
    void showCaptureFailure(const TaskHandle &task, const QString &errorText);

    ReviewIntake &m_review;
    CaptureFlowEnvironment m_environment;
    CaptureAutoOutput m_autoOutput;
    QFuture<void> m_reading;
};

} // namespace velmora
