#pragma once

#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/detection/text_observation.h"

#include <QFuture>
#include <QImage>
#include <QList>

namespace velmora {

// The two slow steps of a scan, as the review reaches them: text recognition and
// visual detection of an upright bitmap, each running off the main thread. Neither
// observes cancellation; the scan decides what to do with a late answer. The
// application uses the engine's recogniser and visual detector; tests complete
// the futures themselves, in whatever order they need.
class ScanEngine
{
public:
    virtual ~ScanEngine() = default;

    /// The recognised lines; fails with VelmoraCoreException(textRecognitionFailed).
    virtual QFuture<QList<TextObservation>> recognizeText(const QImage &image) = 0;
    /// Faces and codes as findings, without the categories the preferences switch off;
    /// fails with VelmoraCoreException(visualDetectionFailed).
    virtual QFuture<QList<Detection>> detectVisualContent(const QImage &image,
                                                          const DetectorCategoryPreferences &preferences) = 0;
};

} // namespace velmora
