#pragma once

#include "core/analysis/visual/face_finder.h"
#include "core/analysis/visual/visual_content_observation.h"
#include "core/detection/detection.h"
#include "core/detection/detector_category_preferences.h"
#include "core/support/task_handle.h"

#include <QFuture>
#include <QImage>
#include <QList>
#include <QString>

namespace velmora {

// Finds faces, QR codes and other barcodes in an upright bitmap and turns them into
// findings. The main window holds one for its lifetime; copies share the face
// classifiers, and every concurrent detection uses classifiers and code readers of
// its own.
class VisualSensitiveContentDetector
{
public:
    /// Uses the frontal-face cascade installed with OpenCV.
    VisualSensitiveContentDetector();
    explicit VisualSensitiveContentDetector(const QString &cascadePath);

    static QString defaultCascadePath();

    /// Faces in the classifier's order, then codes (dark on light before light on
    /// dark). Synchronous. Throws VelmoraCoreException(visualDetectionFailed). Once
    /// `task` is cancelled it stops at the next step (a photograph searched, a code
    /// read) and returns what it found so far.
    QList<VisualContentObservation> detectVisualContent(const QImage &bitmap, const TaskHandle &task = {}) const;

    /// One finding per observation, in order, leaving out those whose category (faces
    /// or visualCodes) is switched off or overridden with `ignore`. Other overrides,
    /// and every per-detector override, change nothing: visual findings are redacted.
    static QList<Detection> detections(const QList<VisualContentObservation> &observations,
                                       const DetectorCategoryPreferences &preferences
                                       = DetectorCategoryPreferences::defaultPreferences());

    /// detectVisualContent and then detections, on the shared background pool. The
    /// future carries the findings or VelmoraCoreException(visualDetectionFailed).
    QFuture<QList<Detection>> detect(const QImage &bitmap,
                                     const DetectorCategoryPreferences &preferences
                                     = DetectorCategoryPreferences::defaultPreferences(),
                                     const TaskHandle &task = {}) const;

private:
    FaceFinder m_faceFinder;
};

} // namespace velmora
