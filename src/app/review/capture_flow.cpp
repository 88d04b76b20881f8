#include "app/review/capture_flow.h"

#include "app/kit/log_categories.h"
#include "app/review/capture_texts.h"
#include "app/review/future_watch.h"
#include "app/review/review_intake.h"
#include "core/analysis/import/image_importer.h"
#include "core/protection/autoclean_output_settings.h"
#include "core/redaction/needs_review.h"
#include "core/support/work_pools.h"

#include <QFile>
#include <QtConcurrent>

namespace velmora {

struct CaptureFlow::CaptureRead
{
    std::optional<QByteArray> bytes; ///< Nothing: the file could not be read.
    QImage image;                    ///< Null: the bytes are not an image, or the capture was cancelled.
};

CaptureFlow::CaptureRead CaptureFlow::readCapture(const QString &path, const TaskHandle &task)
{
    CaptureRead read;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        read.bytes = file.readAll();
    file.close();
    if (!QFile::remove(path))
        qCWarning(lcCapture) << "Could not remove the temporary capture" << path;
    if (!read.bytes || task.isCancelled())
        return read;
    try {
        read.image = ImageImporter::importImage(*read.bytes).image;
    } catch (const VelmoraCoreException &exception) {
        qCInfo(lcCapture) << "The captured image could not be read:" << rawValue(exception.error());
    }
    return read;
}

CaptureFlow::CaptureFlow(ReviewIntake &review, CaptureFlowEnvironment environment, QObject *parent)
    : QObject(parent)
    , m_review(review)
    , m_environment(std::move(environment))
    , m_autoOutput(review, m_environment.output)
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
        qCInfo(lcCapture) << "Capture ended without an image:" << description(*error);
        if (*error == VelmoraCaptureError::canceled)
            showCanceled(task, CaptureText::canceledByUser);
        else
            showCaptureFailure(task, *error == VelmoraCaptureError::permissionDenied ? CaptureText::permissionError
                                                                                     : CaptureText::failedError);
        return;
    }
    // The file is read and decoded on the thread pool; the ending goes on here once it is.
    const QFuture<CaptureRead> reading =
        QtConcurrent::run(&WorkPools::decoding(), &CaptureFlow::readCapture, std::get<QString>(outcome), task);
    m_reading = QFuture<void>(reading);
    whenFinished(reading, this, [this, mode, task, configuration](const QFuture<CaptureRead> &read) {
        handleCaptureRead(read.result(), mode, task, configuration);
    });
}

void CaptureFlow::handleCaptureRead(const CaptureRead &read, VelmoraCaptureMode mode, const TaskHandle &task,
                                    const CustomDetectionConfiguration &configuration)
{
    if (task.isCancelled()) {
        showCanceled(task, CaptureText::canceledByTask);
        return;
    }
    if (read.image.isNull()) {
        showCaptureFailure(task, CaptureText::failedError);
        return;
    }
    m_review.scanDetachedWith(read.image, configuration, task, this,
                              [this, bytes = *read.bytes, image = read.image, mode, task](const ScanOutcome &scan) {
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
        qCInfo(lcCapture) << "The capture's scan failed:" << rawValue(*error);
        showCaptureFailure(task, CaptureText::failedError);
        return;
    }
    handleCaptureOutcome({bytes, image, std::get<ScannedPlan>(outcome).plan, mode}, task);
}

void CaptureFlow::handleCaptureOutcome(const ScannedCapture &capture, const TaskHandle &task)
{
    const VelmoraCaptureOutputPolicy policy = AutoCleanOutputCoordinator::currentPolicy(m_environment.output.settings);
    const VelmoraCaptureOutputDecision decision = policy.decision(needsReviewEntries(capture.plan));
    if (decision.fallbackReason) {
        if (!m_review.finishCaptureTask(task))
            return;
        openCaptureForReview(capture, captureFallbackStatusText(decision.fallbackReason, capture.mode));
        m_environment.bringAppForward();
        return;
    }
    // The capture stays under way while its cleaned copy is made off the main thread, so
    // closing the review meanwhile still cancels it.
    m_autoOutput.prepare(capture, decision.mode, task,
                         [this, capture, mode = decision.mode, task](const PreparedCaptureOutput &output) {
                             handleAutoOutput(capture, mode, task, output);
                         });
}

void CaptureFlow::handleAutoOutput(const ScannedCapture &capture, VelmoraCaptureOutputMode mode,
                                   const TaskHandle &task, const PreparedCaptureOutput &output)
{
    // A capture that ended meanwhile changes nothing: its saved copy goes too.
    if (task.isCancelled() || !m_review.finishCaptureTask(task)) {
        CaptureAutoOutput::discard(output);
        showCanceled(task, CaptureText::canceledByTask);
        return;
    }
    const std::optional<CaptureAutoOutputError> error = m_autoOutput.deliver(capture, mode, output);
    if (!error)
        return; // AutoClean happens in the background: the window stays where it is.
    if (*error == CaptureAutoOutputError::missingSaveFolder)
        openCaptureForReview(capture, CaptureText::needsFolderStatus, CaptureText::needsFolderError);
    else
        openCaptureForReview(capture, CaptureText::autoOutputFailedStatus, CaptureText::autoOutputFailedError);
    m_environment.bringAppForward();
}

void CaptureFlow::openCaptureForReview(const ScannedCapture &capture, const QString &statusSentence,
                                       const std::optional<QString> &errorText)
{
    const RedactionPlan &plan = capture.plan;
    const ReviewIntakeImage image{capture.encodedBytes, std::nullopt, captureModeInfo(capture.mode).sourceLabel,
                                  SafeShareSourceType::capture, plan,
                                  plan.entries().isEmpty() ? std::nullopt : std::optional(plan.entries().first().id()),
                                  statusSentence};
    // Hand-made boxes under review are never lost to a capture: unless the user says
    // so, the capture waits behind the banner's "Review".
    m_environment.replaceReview(
        [this, image, errorText] {
            if (errorText)
                m_review.openForReviewWithFailure(image, *errorText);
            else
                m_review.openForReview(image);
        },
        [this, image, statusSentence, errorText] {
            m_review.setLastAutoCleanReviewItem(image);
            m_review.showCompletionBanner(CaptureText::waitingForReview, CompletionBannerAction::reviewLastAutoClean,
                                          std::nullopt);
            if (errorText)
                m_review.showFailure(*errorText, statusSentence);
        });
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
