#pragma once

#include "core/analysis/import/imported_image.h"
#include "core/analysis/scan/scan_engine.h"
#include "core/analysis/scan/scan_run.h"
#include "core/analysis/rules/sensitive_text_detector.h"
#include "core/analysis/recognition/text_recognizer.h"
#include "core/analysis/visual/visual_content_detector.h"

#include <QSize>
#include <QString>

#include <memory>

namespace velmora {

/// What one scan produced.
struct ScanPipelineResult
{
    RedactionPlan plan;
    QSize imageSize;
    qsizetype lineCount = 0; ///< Recognised lines.
    ScanStageTimings timings;
    /// The image's pattern time ran out before every user pattern had run.
    bool customPatternsSkipped = false;
};

// The engine's scan engine: the on-device recogniser and the visual detector, each on
// the background pool and each stopping early when the scan's task is cancelled. The
// application's review and the benchmarks scan through it with runScan; the running
// steps hold copies of what they use, so a scan may outlive the pipeline.
class ScanPipeline final : public ScanEngine
{
public:
    /// The on-device recogniser with language correction, and the installed face cascade.
    ScanPipeline();
    ScanPipeline(std::shared_ptr<const TextRecognizing> recognizer, VisualSensitiveContentDetector visualDetector);

    QFuture<QList<TextObservation>> recognizeText(const QImage &image, const TaskHandle &task) override;
    QFuture<QList<Detection>> detectVisualContent(const QImage &image, const DetectorCategoryPreferences &preferences,
                                                  const TaskHandle &task) override;
    /// One per processor core, as many as the engine pool has engines.
    int concurrentScans() const override;

    /// runScan over an imported image, waited for. Blocks the calling thread, so never
    /// call it on the main thread. Throws the failed step's VelmoraCoreException.
    ScanPipelineResult scan(const ImportedImage &image, const SensitiveTextDetector &detector,
                            const DetectorCategoryPreferences &visualPreferences);
    /// Imports the file, then scans it. Also throws the import's VelmoraCoreException.
    ScanPipelineResult scanFile(const QString &filePath, const SensitiveTextDetector &detector,
                                const DetectorCategoryPreferences &visualPreferences);

private:
    std::shared_ptr<const TextRecognizing> m_recognizer;
    VisualSensitiveContentDetector m_visualDetector;
};

} // namespace velmora
