#include "core/analysis/scan_pipeline.h"

#include <QElapsedTimer>

#include <atomic>
#include <memory>

namespace velmora {

namespace {

double millisecondsSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

ScanPipeline::ScanPipeline(TextRecognition recognition, VisualSensitiveContentDetector visualDetector)
    : m_recognition(std::move(recognition))
    , m_visualDetector(std::move(visualDetector))
{
}

QFuture<QList<TextObservation>> ScanPipeline::recognizeText(const QImage &image) const
{
    return m_recognition(image);
}

QFuture<QList<Detection>> ScanPipeline::detectVisualContent(const QImage &image,
                                                            const DetectorCategoryPreferences &preferences) const
{
    return m_visualDetector.detect(image, preferences);
}

QList<Detection> ScanPipeline::detectSensitiveText(const SensitiveTextDetector &detector,
                                                   const QList<TextObservation> &lines)
{
    return detector.detect(lines);
}

RedactionPlan ScanPipeline::buildPlan(const QList<Detection> &textDetections, const QList<Detection> &visualDetections,
                                      const QList<Detection> &manualDetections,
                                      const QHash<QUuid, bool> &manualActiveStates)
{
    RedactionPlan plan(textDetections, visualDetections, manualDetections);
    for (auto state = manualActiveStates.cbegin(); state != manualActiveStates.cend(); ++state)
        plan.setActive(state.value(), state.key());
    return plan;
}

ScanPipelineResult ScanPipeline::scan(const QImage &image, const SensitiveTextDetector &detector,
                                      const DetectorCategoryPreferences &visualPreferences,
                                      const QList<Detection> &manualDetections,
                                      const QHash<QUuid, bool> &manualActiveStates) const
{
    ScanPipelineResult result;
    result.imageSize = image.size();
    QElapsedTimer total;
    total.start();

    // Each stage's end is taken by a continuation that runs where the stage finished,
    // so waiting for the other stage does not blur it.
    auto recognizeNs = std::make_shared<std::atomic<qint64>>(0);
    auto visualNs = std::make_shared<std::atomic<qint64>>(0);
    auto lines = recognizeText(image).then([total, recognizeNs](const QList<TextObservation> &found) {
        *recognizeNs = total.nsecsElapsed();
        return found;
    });
    auto visual = detectVisualContent(image, visualPreferences).then([total, visualNs](const QList<Detection> &found) {
        *visualNs = total.nsecsElapsed();
        return found;
    });

    QList<Detection> textDetections;
    try {
        const auto recognised = lines.result();
        result.lineCount = recognised.size();
        QElapsedTimer pass;
        pass.start();
        textDetections = detectSensitiveText(detector, recognised);
        result.timings.detectMs = millisecondsSince(pass);
    } catch (...) {
        // Visual detection does not observe cancellation: let it end before reporting.
        // Recognition's failure is the one reported, so a failure of its own is dropped.
        try {
            visual.waitForFinished();
        } catch (...) {
        }
        throw;
    }
    const auto visualDetections = visual.result();

    QElapsedTimer planning;
    planning.start();
    result.plan = buildPlan(textDetections, visualDetections, manualDetections, manualActiveStates);
    result.timings.planMs = millisecondsSince(planning);
    result.timings.recognizeMs = double(recognizeNs->load()) / 1e6;
    result.timings.visualMs = double(visualNs->load()) / 1e6;
    result.timings.totalMs = millisecondsSince(total);
    return result;
}

} // namespace velmora
