#include "app/review/pipeline_scan_engine.h"

namespace velmora {

PipelineScanEngine::PipelineScanEngine()
    : m_pipeline([recognizer = OCRTextRecognizer(true)](const QImage &image) { return recognizer.recognizeText(image); },
                 VisualSensitiveContentDetector())
{
}

QFuture<QList<TextObservation>> PipelineScanEngine::recognizeText(const QImage &image)
{
    return m_pipeline.recognizeText(image);
}

QFuture<QList<Detection>> PipelineScanEngine::detectVisualContent(const QImage &image,
                                                                  const DetectorCategoryPreferences &preferences)
{
    return m_pipeline.detectVisualContent(image, preferences);
}

} // namespace velmora
