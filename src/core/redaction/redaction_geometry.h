#pragma once

#include "core/detection/norm_rect.h"

#include <QRectF>
#include <QSizeF>

namespace velmora {

// Conversions between the two spaces a box lives in: the normalised rectangle of a
// finding (unit square of the image, origin bottom-left, y upwards) and the
// rectangle of the displayed image in a view (origin top-left, y downwards).
// Every rectangle is read in its standardised form; degenerate inputs (a size or
// frame that is not greater than zero, NaN included) give the zero rectangle.
namespace RedactionGeometry {

/// Where an image of `imageSize` is shown, centred at the largest scale that fits
/// inside `availableSize`, in the available area's top-left space.
QRectF aspectFitRect(const QSizeF &imageSize, const QSizeF &availableSize);

/// The view rectangle of a normalised rectangle over an image of `imageSize`
/// drawn into `imageFrame` (for the canvas: the fitted rectangle, zoomed and panned).
QRectF viewRect(const NormRect &normalized, const QSizeF &imageSize, const QRectF &imageFrame);

/// The inverse of viewRect. Not clamped: a view rectangle reaching past the displayed
/// image gives coordinates outside [0, 1].
NormRect normalizedRect(const QRectF &view, const QSizeF &imageSize, const QRectF &imageFrame);

} // namespace RedactionGeometry

} // namespace velmora
