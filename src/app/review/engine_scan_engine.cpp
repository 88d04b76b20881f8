#include "app/review/engine_scan_engine.h"

namespace velmora {

QFuture<QList<TextObservation>> EngineScanEngine::recognizeText(const QImage &image)
{
    return m_recognizer.recognizeText(image);
}

QFuture<QList<Detection>> EngineScanEngine::detectVisualContent(const QImage &image,
                                                                const DetectorCategoryPreferences &preferences)
{
    return m_visualDetector.detect(image, preferences);
}

} // namespace velmora
