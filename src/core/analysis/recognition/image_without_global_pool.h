#pragma once

#include <QImage>
#include <QSize>

namespace velmora {

// Scaling and format conversion for the recognition's threads, none of it on Qt's global
// pool. Called on a thread outside that pool, Qt's smooth scaling and its generic format
// conversions split a large image into pieces for the global pool and wait for them, so a
// recognition stood still while that pool was busy, and never ended while something held
// its threads.

/// The image at `size` with the filters of Qt's smooth scaling: area averaging where it
/// shrinks (a grey image only where a side shrinks to less than half), by OpenCV, within
/// a grey level of Qt's; elsewhere bilinear, by Qt's painter, pixel for pixel what Qt
/// gives a grey image of less than a million pixels. A grey image stays grey; a 32-bit
/// one comes back as RGB32 or ARGB32 when averaged.
QImage scaledWithoutGlobalPool(const QImage &image, QSize size);

/// The image in `format`, converted by Qt a band of rows at a time, each band too small
/// for Qt to split.
QImage convertedWithoutGlobalPool(const QImage &image, QImage::Format format);

} // namespace velmora
