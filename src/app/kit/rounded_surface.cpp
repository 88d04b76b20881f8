#include "app/kit/rounded_surface.h"

#include <QPainter>
#include <QPainterPath>

namespace velmora {

RoundedSurface::RoundedSurface(qreal cornerRadius, QWidget *parent) : QWidget(parent), m_radius(cornerRadius)
{
}

void RoundedSurface::setFill(PaletteColor fill)
{
    m_fill = std::move(fill);
    update();
}

void RoundedSurface::setBorder(PaletteColor color, qreal width)
{
    m_border = std::move(color);
    m_borderWidth = width;
    update();
}

void RoundedSurface::setDashPattern(const QList<qreal> &pattern)
{
    m_dashes = pattern;
    update();
}

void RoundedSurface::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    if (m_fill) {
        QPainterPath path;
        path.addRoundedRect(bounds, m_radius, m_radius);
        painter.fillPath(path, m_fill(palette()));
    }
    if (m_border && m_borderWidth > 0) {
        // The line lies inside the shape: inset by half its width.
        const qreal inset = m_borderWidth / 2;
        QPen pen(m_border(palette()), m_borderWidth, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        pen.setMiterLimit(10);
        if (!m_dashes.isEmpty())
            pen.setDashPattern(m_dashes);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const qreal radius = qMax<qreal>(0, m_radius - inset);
        painter.drawRoundedRect(bounds.adjusted(inset, inset, -inset, -inset), radius, radius);
    }
}

} // namespace velmora
