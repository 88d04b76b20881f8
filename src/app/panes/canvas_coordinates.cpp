#include "app/panes/canvas_coordinates.h"

#include "core/redaction/redaction_geometry.h"

#include <algorithm>

namespace velmora::CanvasCoordinates {

namespace {
bool hasArea(const QRectF &rect)
{
    return rect.width() > 0 && rect.height() > 0;
}
} // namespace

QRectF mapToView(const NormRect &normalized, const QSizeF &imageSize, const QRectF &displayed)
{
    return RedactionGeometry::viewRect(normalized, imageSize, displayed);
}

QPointF mapToImage(QPointF canvasPoint, const QRectF &displayed)
{
    if (!hasArea(displayed))
        return {};
    const double x = std::clamp(canvasPoint.x(), displayed.left(), displayed.right());
    const double y = std::clamp(canvasPoint.y(), displayed.top(), displayed.bottom());
    return {(x - displayed.left()) / displayed.width(), 1 - (y - displayed.top()) / displayed.height()};
}

QPointF mapTranslationToImage(QPointF translation, const QRectF &displayed)
{
    if (!hasArea(displayed))
        return {};
    return {translation.x() / displayed.width(), -translation.y() / displayed.height()};
}

bool startsOnImage(QPointF canvasPoint, const QRectF &displayed)
{
    return hasArea(displayed) && canvasPoint.x() >= displayed.left() && canvasPoint.x() < displayed.right()
        && canvasPoint.y() >= displayed.top() && canvasPoint.y() < displayed.bottom();
}

} // namespace velmora::CanvasCoordinates
