#include "app/review/capture_flow.h"

#include "app/review/capture_texts.h"
#include "app/review/review_intake.h"
#include "core/analysis/image_importer.h"
#include "core/protection/autoclean_output_settings.h"
#include "core/redaction/needs_review.h"

#include <QFile>
#include <QLoggingCategory>

namespace velmora {

namespace {

Q_LOGGING_CATEGORY(lcCaptureFlow, "com.orlwick.kavri.capture")

/// The whole file, which is then removed whether or not it could be read: no
/// screenshot stays behind in the temporary folder.
std::optional<QByteArray> takeFile(const QString &path)
{
    QFile file(path);
    std::optional<QByteArray> bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    file.close();
    if (!QFile::remove(path))
        qCWarning(lcCaptureFlow) << "Could not remove the temporary capture" << path;
    return bytes;
}

} // namespace

CaptureFlow::CaptureFlow(ReviewIntake &review, CaptureFlowEnvironment environment, QObject *parent)
    : QObject(parent)
    , m_review(review)
    , m_environment(std::move(environment))
    , m_autoOutput(review, m_environment.settings, m_environment.clipboard, m_environment.clock)
{
}

void CaptureFlow::beginCapture(VelmoraCaptureMode mode)
{
    const TaskHandle task;
    if (!m_review.startCaptureTask(task, captureModeInfo(mode).statusHint))
        return;
    // The scan works with the detection settings as they were when the capture began.
    m_environment.captureService.capture(
        mode, task, this,
        [this, mode, task, configuration = m_review.customDetectionConfiguration()](const CaptureOutcome &outcome) {
            handleCaptureEnding(mode, task, configuration, outcome);
        });
}

void CaptureFlow::handleCaptureEnding(VelmoraCaptureMode mode, const TaskHandle &task,
                                      const CustomDetectionConfiguration &configuration, const CaptureOutcome &outcome)
{
    if (std::holds_alternative<CaptureCancelled>(outcome)) {
        showCanceled(task, CaptureText::canceledByTask);
        return;
    }
    if (const auto *error = std::get_if<VelmoraCaptureError>(&outcome)) {
        qCInfo(lcCaptureFlow) << "Capture ended without an image:" << description(*error);
        if (*error == VelmoraCaptureError::canceled)
            showCanceled(task, CaptureText::canceledByUser);
        else
            showCaptureFailure(task, *error == VelmoraCaptureError::permissionDenied ? CaptureText::permissionError
                                                                                     : CaptureText::failedError);
        return;
    }
    const std::optional<QByteArray> bytes = takeFile(std::get<QString>(outcome));
    if (task.isCancelled()) {
        showCanceled(task, CaptureText::canceledByTask);
        return;
    }
    if (!bytes) {
        showCaptureFailure(task, CaptureText::failedError);
        return;
    }
    QImage image;
    try {
        image = ImageImporter::importImage(*bytes).image;
    } catch (const VelmoraCoreException &exception) {
        qCInfo(lcCaptureFlow) << "The captured image could not be read:" << rawValue(exception.error());
        showCaptureFailure(task, CaptureText::failedError);
        return;
    }
    m_review.scanDetachedWith(image, configuration, task, this,
                              [this, bytes = *bytes, image, mode, task](const ScanOutcome &scan) {
                                  handleScanEnding(bytes, image, mode, task, scan);
                              });
}

void CaptureFlow::handleScanEnding(const QByteArray &bytes, const QImage &image, VelmoraCaptureMode mode,
                                   const TaskHandle &task, const ScanOutcome &outcome)
{
    if (task.isCancelled() || std::holds_alternative<ScanCancelled>(outcome)) {
        showCanceled(task, CaptureText::canceledByTask);
        return;
    }
    if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
        qCInfo(lcCaptureFlow) << "The capture's scan failed:" << rawValue(*error);
        showCaptureFailure(task, CaptureText::failedError);
        return;
    }
    if (!m_review.finishCaptureTask(task))
        return;
    handleCaptureOutcome({bytes, image, std::get<ScannedPlan>(outcome).plan, mode});
}

void CaptureFlow::handleCaptureOutcome(const ScannedCapture &capture)
{
    const VelmoraCaptureOutputPolicy policy = AutoCleanOutputCoordinator::currentPolicy(m_environment.settings);
    const VelmoraCaptureOutputDecision decision = policy.decision(needsReviewEntries(capture.plan));
    if (decision.fallbackReason) {
        openCaptureForReview(capture, captureFallbackStatusText(decision.fallbackReason, capture.mode));
        m_environment.bringAppForward();
        return;
    }
    const std::optional<CaptureAutoOutputError> error = m_autoOutput.run(capture, decision.mode);
    if (!error)
        return; // AutoClean happens in the background: the window stays where it is.
    if (*error == CaptureAutoOutputError::missingSaveFolder) {
        openCaptureForReview(capture, CaptureText::needsFolderStatus);
        m_review.showFailure(CaptureText::needsFolderError, CaptureText::needsFolderStatus);
    } else {
        openCaptureForReview(capture, CaptureText::autoOutputFailedStatus);
        m_review.showFailure(CaptureText::autoOutputFailedError, CaptureText::autoOutputFailedStatus);
    }
    m_environment.bringAppForward();
}

void CaptureFlow::openCaptureForReview(const ScannedCapture &capture, const QString &statusSentence)
{
    const RedactionPlan &plan = capture.plan;
    m_review.openForReview({capture.encodedBytes, std::nullopt, captureModeInfo(capture.mode).sourceLabel,
                            SafeShareSourceType::capture, plan,
                            plan.entries().isEmpty() ? std::nullopt : std::optional(plan.entries().first().id()),
                            statusSentence});
    m_review.recordShare(SafeShareAction::scan, SafeShareSourceType::capture, plan, std::nullopt);
}

void CaptureFlow::showCanceled(const TaskHandle &task, const QString &sentence)
{
    if (m_review.finishCaptureTask(task))
        m_review.showStatus(sentence);
}

void CaptureFlow::showCaptureFailure(const TaskHandle &task, const QString &errorText)
{
    if (!m_review.finishCaptureTask(task))
        return;
    m_review.showFailure(errorText, capturePermissionExplanation());
    m_environment.bringAppForward();
}

} // namespace velmora
