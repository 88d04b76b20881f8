#include "app/panes/box_edit_geometry.h"

#include "app/panes/canvas_coordinates.h"

#include <algorithm>
#include <cmath>

namespace velmora::BoxEditGeometry {

namespace {

bool isLeading(ResizeCorner corner)
{
    return corner == ResizeCorner::topLeading || corner == ResizeCorner::bottomLeading;
}

bool isBottom(ResizeCorner corner)
{
    return corner == ResizeCorner::bottomLeading || corner == ResizeCorner::bottomTrailing;
}

// Whether the plan, which stores a box as origin and size and clamps its far edge as
// origin + size, reads at least the smallest span between these edges.
bool spansSmallest(double low, double high)
{
    const double size = high - low;
    return size >= smallestBoxSpan && (low + size) - low >= smallestBoxSpan;
}

// Puts the moved edge the smallest span away from the fixed one, within [0, 1]. The
// plain sum can fall a rounding step short of the span, which the plan would refuse;
// the edge is then pushed outward by the least representable amount.
void setBackToSmallest(double &low, double &high, bool lowMoves)
{
    if (lowMoves) {
        low = std::max(high - smallestBoxSpan, 0.0);
        while (low > 0 && !spansSmallest(low, high))
            low = std::max(std::nextafter(low, -1.0), 0.0);
    } else {
        high = std::min(low + smallestBoxSpan, 1.0);
        while (high < 1 && !spansSmallest(low, high))
            high = std::min(std::nextafter(high, 2.0), 1.0);
    }
}

} // namespace

NormRect draftBounds(QPointF start, QPointF current, const QRectF &displayed)
{
    const QPointF a = CanvasCoordinates::mapToImage(start, displayed);
    const QPointF b = CanvasCoordinates::mapToImage(current, displayed);
    return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(a.x() - b.x()), std::abs(a.y() - b.y())};
}

NormRect movedBounds(const NormRect &start, QPointF translation, const QRectF &displayed)
{
    const NormRect s = start.standardized();
    const QPointF delta = CanvasCoordinates::mapTranslationToImage(translation, displayed);
    const double width = std::min(s.width, 1.0);
    const double height = std::min(s.height, 1.0);
    const double x = std::min(std::max(s.x + delta.x(), 0.0), 1 - width);
    const double y = std::min(std::max(s.y + delta.y(), 0.0), 1 - height);
    return {x, y, width, height};
}

NormRect resizedBounds(const NormRect &start, QPointF translation, ResizeCorner corner, const QRectF &displayed)
{
    const NormRect s = start.standardized();
    const QPointF delta = CanvasCoordinates::mapTranslationToImage(translation, displayed);
    const bool leading = isLeading(corner);
    const bool bottom = isBottom(corner);
    double minX = s.minX() + (leading ? delta.x() : 0);
    double maxX = s.maxX() + (leading ? 0 : delta.x());
    double minY = s.minY() + (bottom ? delta.y() : 0);
    double maxY = s.maxY() + (bottom ? 0 : delta.y());
    const auto clamp = [](double value) { return std::clamp(value, 0.0, 1.0); };
    minX = clamp(minX);
    maxX = clamp(maxX);
    minY = clamp(minY);
    maxY = clamp(maxY);
    if (!spansSmallest(minX, maxX))
        setBackToSmallest(minX, maxX, leading);
    if (!spansSmallest(minY, maxY))
        setBackToSmallest(minY, maxY, bottom);
    return {minX, minY, maxX - minX, maxY - minY};
}

QPointF handleCentre(ResizeCorner corner, const QRectF &box)
{
    const double x = isLeading(corner) ? box.left() : box.right();
    const double y = isBottom(corner) ? box.bottom() : box.top();
    return {x, y};
}

} // namespace velmora::BoxEditGeometry
