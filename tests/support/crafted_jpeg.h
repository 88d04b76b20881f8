#pragma once

#include <QByteArray>

namespace velmora::test {

/// The shape of a crafted progressive JPEG: every component sampled at full
/// resolution, one DC scan over all components, then `acScans` AC scans over the
/// coefficients `firstCoefficient` to `lastCoefficient`, taking the components in
/// turn. The AC scans code nothing but runs of empty blocks, a few dozen bytes each,
/// yet each makes the decoder visit every block of its component.
struct ProgressiveJpegShape
{
    int width = 64;
    int height = 64;
    int components = 1;
    int acScans = 0;
    bool refining = false; ///< Successive-approximation refinement scans instead of first scans.
    int firstCoefficient = 1;
    int lastCoefficient = 63;
};

/// A valid progressive JPEG of that shape, every pixel mid-grey.
QByteArray progressiveJpeg(const ProgressiveJpegShape &shape);

} // namespace velmora::test
