#pragma once

#include "core/detection/norm_rect.h"
#include "core/support/raw_enum.h"

#include <QPointF>
#include <QRectF>

namespace velmora {

/// The four resize handles of the selected box, in drawing order.
enum class ResizeCorner { topLeading, topTrailing, bottomLeading, bottomTrailing };

// The arithmetic of drawing, moving and resizing a box on the review canvas. Boxes
// are normalised (CanvasCoordinates); pointer positions and translations are in
// canvas space, translations always measured from where the drag began so that a box
// follows the pointer without drift. Clamping and the smallest size of a box are the
// plan's business; these functions only keep what they propose inside the image.
namespace BoxEditGeometry {

/// The smallest width and height of a box, as a share of the image's.
inline constexpr double smallestBoxSpan = 0.002;

/// The box spanned by a drawing drag, both ends clamped into the displayed image.
NormRect draftBounds(QPointF start, QPointF current, const QRectF &displayed);

/// The start box moved by the translation, kept whole inside the image: it stops at
/// an edge without shrinking, and a box larger than the image is cut to its size.
NormRect movedBounds(const NormRect &start, QPointF translation, const QRectF &displayed);

/// The start box with the corner's two edges moved by the translation and clamped
/// into the image. An edge dragged past its opposite edge stops the smallest span
/// away from it, so edges never cross; against the image's border that span may not
/// fit, and the plan then refuses the box.
NormRect resizedBounds(const NormRect &start, QPointF translation, ResizeCorner corner, const QRectF &displayed);

/// Where a corner's handle is centred on a box's canvas rectangle.
QPointF handleCentre(ResizeCorner corner, const QRectF &box);

} // namespace BoxEditGeometry

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ResizeCorner,
    {velmora::ResizeCorner::topLeading, "topLeading"}, {velmora::ResizeCorner::topTrailing, "topTrailing"},
    {velmora::ResizeCorner::bottomLeading, "bottomLeading"},
    {velmora::ResizeCorner::bottomTrailing, "bottomTrailing"});
