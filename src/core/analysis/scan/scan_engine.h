#pragma once

#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/detection/text_observation.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QImage>
#include <QList>

namespace velmora {

// The two slow steps of a scan: text recognition and visual detection of an upright
// bitmap, each running off the calling thread. Both watch the task: once it is
// cancelled they stop at their next step and finish early with what they have, which
// the scan then discards. The engine's ScanPipeline is the one the application and
// the benchmarks use; tests complete the futures themselves, in whatever order they need.
class ScanEngine
{
public:
    virtual ~ScanEngine() = default;

    /// The recognised lines; fails with VelmoraCoreException(textRecognitionFailed).
    virtual QFuture<QList<TextObservation>> recognizeText(const QImage &image, const TaskHandle &task) = 0;
    /// Faces and codes as findings, without the categories the preferences switch off;
    /// fails with VelmoraCoreException(visualDetectionFailed).
    virtual QFuture<QList<Detection>> detectVisualContent(const QImage &image,
                                                          const DetectorCategoryPreferences &preferences,
                                                          const TaskHandle &task) = 0;
    /// How many scans keep the machine busy side by side without one slowing the others
    /// down for nothing: a batch scan keeps that many images in flight.
    virtual int concurrentScans() const { return 1; }
};

} // namespace velmora
