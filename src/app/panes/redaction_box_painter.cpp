#include "app/panes/redaction_box_painter.h"

#include "app/kit/look.h"
#include "app/panes/box_edit_geometry.h"
#include "app/panes/canvas_gesture_handler.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace velmora::RedactionBoxPainter {

namespace {

constexpr double kCornerRadius = 4;
constexpr double kBadgeHorizontalPadding = 6;
constexpr double kBadgeVerticalPadding = 3;
constexpr double kBadgeOpacity = 0.86;
constexpr double kDraftLineWidth = 2;
constexpr double kDraftFillOpacity = 0.12;

QFont badgeFont()
{
    return look::font(look::TextStyle::caption, QFont::Bold);
}

QPainterPath roundedBox(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, std::max(radius, 0.0), std::max(radius, 0.0));
    return path;
}

// A stroke that lies inside the box's edge, dash lengths given in points.
void strokeInside(QPainter &painter, const QRectF &box, const QColor &color, double width, QList<qreal> dashInPoints)
{
    const double inset = width / 2;
    const QRectF path = box.adjusted(inset, inset, -inset, -inset);
    if (path.width() < 0 || path.height() < 0)
        return;
    QPen pen(color, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10);
    if (!dashInPoints.isEmpty()) {
        // QPen measures dashes in pen widths.
        for (qreal &length : dashInPoints)
            length /= width;
        pen.setDashPattern(dashInPoints);
        pen.setDashOffset(0);
    }
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedBox(path, kCornerRadius - inset));
}

void paintBadge(QPainter &painter, const QRectF &box, const QString &text)
{
    const QRectF badge = badgeRect(box, text);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look::withOpacity(Qt::black, kBadgeOpacity));
    painter.drawRoundedRect(badge, badge.height() / 2, badge.height() / 2);
    painter.setFont(badgeFont());
    painter.setPen(Qt::white);
    painter.drawText(badge, Qt::AlignCenter | Qt::TextSingleLine, text);
}

void paintHandles(QPainter &painter, const QRectF &box, const QPalette &palette)
{
    const double radius = CanvasGestureHandler::handleDiameter / 2;
    QPen pen(look::accent(palette), CanvasGestureHandler::handleOutlineWidth);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setMiterLimit(10);
    painter.setPen(pen);
    painter.setBrush(Qt::white);
    for (const ResizeCorner corner : allCases<ResizeCorner>())
        painter.drawEllipse(BoxEditGeometry::handleCentre(corner, box), radius, radius);
}

} // namespace

QRectF badgeRect(const QRectF &box, const QString &text)
{
    const QFontMetricsF metrics(badgeFont());
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * kBadgeHorizontalPadding,
                      metrics.height() + 2 * kBadgeVerticalPadding);
    return {QPointF(box.left(), box.top() + RedactionBoxLook::badgeOffsetY(box)), size};
}

void paintBox(QPainter &painter, const QRectF &box, const RedactionPlanEntry &entry, BoxState state,
              const QPalette &palette)
{
    const RedactionBoxStyle style = RedactionBoxLook::style(entry, state.isSelected);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look::withOpacity(RedactionBoxLook::resolve(style.fillColor, palette), style.fillOpacity));
    painter.drawPath(roundedBox(box, kCornerRadius));
    strokeInside(painter, box, RedactionBoxLook::resolve(style.outlineColor, palette), style.outlineWidth,
                 style.dashed ? QList<qreal>{6, 4} : QList<qreal>{});
    if (state.showsBadge)
        paintBadge(painter, box, RedactionBoxLook::badgeText(entry));
    if (state.showsHandles)
        paintHandles(painter, box, palette);
}

void paintDraft(QPainter &painter, const QRectF &box, const QPalette &palette)
{
    const QColor accent = look::accent(palette);
    painter.setPen(Qt::NoPen);
    painter.setBrush(look::withOpacity(accent, kDraftFillOpacity));
    painter.drawPath(roundedBox(box, kCornerRadius));
    strokeInside(painter, box, accent, kDraftLineWidth, {7, 5});
}

} // namespace velmora::RedactionBoxPainter
