#pragma once

#include "app/review/scan_engine.h"
#include "core/analysis/text_recognizer.h"
#include "core/analysis/visual_content_detector.h"

namespace velmora {

// The scans of the main window: the on-device recogniser (language correction on)
// and the visual content detector of the engine, each on the shared background pool.
class EngineScanEngine final : public ScanEngine
{
public:
    EngineScanEngine() = default;

    QFuture<QList<TextObservation>> recognizeText(const QImage &image) override;
    QFuture<QList<Detection>> detectVisualContent(const QImage &image,
                                                  const DetectorCategoryPreferences &preferences) override;

private:
    OCRTextRecognizer m_recognizer{true};
    VisualSensitiveContentDetector m_visualDetector;
};

} // namespace velmora
