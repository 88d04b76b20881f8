#pragma once

#include "core/analysis/face_finder.h"
#include "core/analysis/visual_content_observation.h"
#include "core/detection/detection.h"

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
    /// dark). Synchronous. Throws VelmoraCoreException(visualDetectionFailed).
    QList<VisualContentObservation> detectVisualContent(const QImage &bitmap) const;

private:
    FaceFinder m_faceFinder;
};

} // namespace velmora
