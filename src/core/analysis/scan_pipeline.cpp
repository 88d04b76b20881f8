#include "core/analysis/scan_pipeline.h"

#include "core/analysis/image_importer.h"

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

ScanPipeline::ScanPipeline()
    : ScanPipeline(std::make_shared<const OCRTextRecognizer>(true), VisualSensitiveContentDetector())
{
}

ScanPipeline::ScanPipeline(std::shared_ptr<const TextRecognizing> recognizer,
                           VisualSensitiveContentDetector visualDetector)
    : m_recognizer(std::move(recognizer))
    , m_visualDetector(std::move(visualDetector))
{
}

QFuture<QList<TextObservation>> ScanPipeline::recognizeText(const ImportedImage &image) const
{
    return m_recognizer->recognizeText(image);
}

QFuture<QList<Detection>> ScanPipeline::detectVisualContent(const ImportedImage &image,
                                                            const DetectorCategoryPreferences &preferences) const
{
    // Imported bitmaps are upright: the detector needs no orientation.
    return m_visualDetector.detect(image.image, preferences);
}

SensitiveTextFindings ScanPipeline::detectSensitiveText(const SensitiveTextDetector &detector,
                                                   const QList<TextObservation> &lines)
{
    return detector.scan(lines);
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

ScanPipelineResult ScanPipeline::scanFile(const QString &filePath, const SensitiveTextDetector &detector,
                                          const DetectorCategoryPreferences &visualPreferences) const
{
    QElapsedTimer importing;
    importing.start();
    const ImportedImage image = ImageImporter::importImage(filePath);
    const double importMs = millisecondsSince(importing);

    ScanPipelineResult result = scan(image, detector, visualPreferences);
    result.timings.importMs = importMs;
    result.timings.totalMs += importMs;
    return result;
}

ScanPipelineResult ScanPipeline::scan(const ImportedImage &image, const SensitiveTextDetector &detector,
                                      const DetectorCategoryPreferences &visualPreferences,
                                      const QList<Detection> &manualDetections,
                                      const QHash<QUuid, bool> &manualActiveStates) const
{
    ScanPipelineResult result;
    result.imageSize = image.image.size();
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

    SensitiveTextFindings text;
    try {
        const auto recognised = lines.result();
        result.lineCount = recognised.size();
        QElapsedTimer pass;
        pass.start();
        text = detectSensitiveText(detector, recognised);
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
    result.customPatternsSkipped = text.customPatternsSkipped;
    result.plan = buildPlan(text.detections, visualDetections, manualDetections, manualActiveStates);
    result.timings.planMs = millisecondsSince(planning);
    result.timings.recognizeMs = double(recognizeNs->load()) / 1e6;
    result.timings.visualMs = double(visualNs->load()) / 1e6;
    result.timings.totalMs = millisecondsSince(total);
    return result;
}

} // namespace velmora
