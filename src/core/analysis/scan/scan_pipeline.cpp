#include "core/analysis/scan/scan_pipeline.h"

#include "core/analysis/import/image_importer.h"

#include <QElapsedTimer>
#include <QThread>

#include <algorithm>

namespace velmora {

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

QFuture<QList<TextObservation>> ScanPipeline::recognizeText(const QImage &image, const TaskHandle &task)
{
    // Imported bitmaps are upright: neither step needs an orientation.
    return m_recognizer->recognizeText(image, ImageOrientation::up, task);
}

QFuture<QList<Detection>> ScanPipeline::detectVisualContent(const QImage &image,
                                                            const DetectorCategoryPreferences &preferences,
                                                            const TaskHandle &task)
{
    return m_visualDetector.detect(image, preferences, task);
}

int ScanPipeline::concurrentScans() const
{
    // One scan keeps about two cores busy on average, but its page layout and its visual
    // detection run on one thread each: with a scan per core, the one-thread stretches of
    // some fill the gaps of the others. The engine pools and their threads are one per
    // core too, so a region never waits long for an engine.
    return std::max(1, QThread::idealThreadCount());
}

ScanPipelineResult ScanPipeline::scanFile(const QString &filePath, const SensitiveTextDetector &detector,
                                          const DetectorCategoryPreferences &visualPreferences)
{
    QElapsedTimer importing;
    importing.start();
    const ImportedImage image = ImageImporter::importImage(filePath);
    const double importMs = double(importing.nsecsElapsed()) / 1e6;

    ScanPipelineResult result = scan(image, detector, visualPreferences);
    result.timings.importMs = importMs;
    result.timings.totalMs += importMs;
    return result;
}

ScanPipelineResult ScanPipeline::scan(const ImportedImage &image, const SensitiveTextDetector &detector,
                                      const DetectorCategoryPreferences &visualPreferences)
{
    const ScanReport report = runScan(*this, ScanRequest{image.image, detector, {}, {}}, visualPreferences, {}).result();
    if (const auto *error = std::get_if<VelmoraCoreError>(&report.outcome))
        throw VelmoraCoreException(*error);
    // Nobody else holds the task, so the scan cannot have been cancelled.
    const auto &scanned = std::get<ScannedPlan>(report.outcome);
    return {scanned.plan, image.image.size(), report.lineCount, report.timings, scanned.customPatternsSkipped};
}

} // namespace velmora
