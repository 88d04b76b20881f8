#pragma once

#include "core/support/task_handle.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>

namespace velmora {

// Finds frontal faces with OpenCV's Haar cascade, in the photographs of an image
// (photoRegions): text and interface hold no faces and cost the cascade most. Small
// photographs (avatars) are searched again enlarged; every face is confirmed by a
// second frontal cascade and dropped when it is drawn rather than photographed. A
// classifier may not be shared between threads, so each concurrent search leases one
// of each from small pools that load the cascade files on demand and keep the
// classifiers for reuse. Thread-safe; copies share the pools.
class FaceFinder
{
public:
    /// Finds faces with the cascade at `cascadePath` and confirms them with the
    /// alternative frontal cascade beside it.
    explicit FaceFinder(const QString &cascadePath);

    /// Pixel boxes (origin top-left) of the faces in a Grayscale8 image, in the
    /// classifier's order. Throws VelmoraCoreException(visualDetectionFailed) when the
    /// cascade cannot be loaded or OpenCV fails. Once `task` is cancelled no further
    /// photograph is searched and the faces found so far are returned.
    QList<QRect> findFaces(const QImage &grey, const TaskHandle &task = {}) const;

private:
    class Pool;
    std::shared_ptr<Pool> m_finders;
    std::shared_ptr<Pool> m_confirmers;
};

} // namespace velmora
