#pragma once

#include "core/support/task_handle.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <memory>

namespace velmora {

// Finds frontal faces with OpenCV's Haar cascade, in the photographs of an image
// (photoRegions): text and interface hold no faces and cost the cascade most. A
// classifier may not be shared between threads, so each concurrent search leases one
// from a small pool that loads the cascade file on demand and keeps the classifiers
// for reuse. Thread-safe; copies share the pool.
class FaceFinder
{
public:
    explicit FaceFinder(QString cascadePath);

    /// Pixel boxes (origin top-left) of the faces in a Grayscale8 image, in the
    /// classifier's order. Throws VelmoraCoreException(visualDetectionFailed) when the
    /// cascade cannot be loaded or OpenCV fails. Once `task` is cancelled no further
    /// photograph is searched and the faces found so far are returned.
    QList<QRect> findFaces(const QImage &grey, const TaskHandle &task = {}) const;

private:
    class Pool;
    std::shared_ptr<Pool> m_pool;
};

} // namespace velmora
