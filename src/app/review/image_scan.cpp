#include "app/review/image_scan.h"

#include "app/review/future_watch.h"
#include "core/analysis/scan_pipeline.h"

#include <memory>

namespace velmora {

Q_LOGGING_CATEGORY(lcReviewScan, "com.orlwick.kavri.scan")

namespace {

// The state one scan keeps between its steps; owned by the continuations.
struct ScanRun
{
    ScanRequest request;
    TaskHandle task;
    std::function<void(ScanOutcome)> done;
    QFuture<QList<Detection>> visual;
    SensitiveTextFindings text;
};

void finishWithVisual(const std::shared_ptr<ScanRun> &run, QObject *context)
{
    whenFinished(run->visual, context, [run](const QFuture<QList<Detection>> &visual) {
        const auto outcome = futureOutcome(visual, VelmoraCoreError::visualDetectionFailed);
        if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
            run->done(*error);
            return;
        }
        if (run->task.isCancelled()) {
            run->done(ScanCancelled{});
            return;
        }
        const ScanRequest &request = run->request;
        run->done(ScannedPlan{ScanPipeline::buildPlan(run->text.detections, std::get<QList<Detection>>(outcome),
                                                      request.manualDetections, request.manualActiveStates),
                              run->text.customPatternsSkipped});
    });
}

} // namespace

RedactionPlan manualBoxesPlan(const QList<Detection> &manualDetections, const QHash<QUuid, bool> &manualActiveStates)
{
    return ScanPipeline::buildPlan({}, {}, manualDetections, manualActiveStates);
}

void scanImage(ScanEngine &engine, QObject *context, ScanRequest request,
               const std::function<DetectorCategoryPreferences()> &currentPreferences, TaskHandle task,
               std::function<void(ScanOutcome)> done)
{
    auto run = std::make_shared<ScanRun>(ScanRun{std::move(request), std::move(task), std::move(done), {}, {}});
    const QFuture<QList<TextObservation>> text = engine.recognizeText(run->request.image);
    run->visual = engine.detectVisualContent(run->request.image, currentPreferences());

    whenFinished(text, context, [run, context](const QFuture<QList<TextObservation>> &finished) {
        const auto outcome = futureOutcome(finished, VelmoraCoreError::textRecognitionFailed);
        if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
            // The visual step cannot be stopped: wait for it, then report the text failure.
            const VelmoraCoreError textError = *error;
            whenFinished(run->visual, context, [run, textError](const auto &) { run->done(textError); });
            return;
        }
        run->text =
            ScanPipeline::detectSensitiveText(run->request.detector, std::get<QList<TextObservation>>(outcome));
        finishWithVisual(run, context);
    });
}

} // namespace velmora
