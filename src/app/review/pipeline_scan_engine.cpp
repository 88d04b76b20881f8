#include "app/review/pipeline_scan_engine.h"

namespace velmora {

PipelineScanEngine::PipelineScanEngine() = default;

QFuture<QList<TextObservation>> PipelineScanEngine::recognizeText(const QImage &image)
{
    // The review only holds imported images, which the importer has already made upright.
    return m_pipeline.recognizeText(ImportedImage{image, ImageOrientation::up});
}

QFuture<QList<Detection>> PipelineScanEngine::detectVisualContent(const QImage &image,
                                                                  const DetectorCategoryPreferences &preferences)
{
    return m_pipeline.detectVisualContent(ImportedImage{image, ImageOrientation::up}, preferences);
}

} // namespace velmora
