#pragma once

#include "core/detection/norm_rect.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace velmora {

// The one place where the review canvas converts between its two spaces:
// - normalised space: the image as the unit square, x right, y up, origin at the
//   image's bottom-left corner (every finding box, the draft box, the start bounds
//   of a move or resize);
// - canvas space: device-independent pixels, origin at the canvas's top-left
//   corner, y down (pointer positions, the fit and displayed rectangles, painting).
// The displayed rectangle is where the image is drawn: its fit rectangle, zoomed
// and panned (CanvasZoom).
namespace CanvasCoordinates {

/// The canvas rectangle of a normalised box over the displayed image; the zero
/// rectangle when the image or the displayed rectangle has no area.
QRectF mapToView(const NormRect &normalized, const QSizeF &imageSize, const QRectF &displayed);

/// The normalised point under a canvas point, clamped into the displayed image;
/// (0, 0) when the displayed rectangle has no area.
QPointF mapToImage(QPointF canvasPoint, const QRectF &displayed);

/// A canvas translation as a normalised delta: a drag downward lowers y.
QPointF mapTranslationToImage(QPointF translation, const QRectF &displayed);

/// Whether a gesture starting at this point starts on the displayed image. The
/// left and top edges belong to it, the right and bottom edges do not (unlike
/// QRectF::contains), so a start on the far edge draws nothing.
bool startsOnImage(QPointF canvasPoint, const QRectF &displayed);

} // namespace CanvasCoordinates

} // namespace velmora
