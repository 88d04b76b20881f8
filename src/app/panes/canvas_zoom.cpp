#include "app/panes/canvas_zoom.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace velmora {

int CanvasZoom::zoomPercent() const
{
    return int(std::lround(m_zoomScale * 100));
}

QString CanvasZoom::zoomPercentText() const
{
    return QCoreApplication::translate("CanvasZoom", "%1%").arg(zoomPercent());
}

QString CanvasZoom::zoomAccessibilityValue() const
{
    return QCoreApplication::translate("CanvasZoom", "%1 percent").arg(zoomPercent());
}

double CanvasZoom::clampedScale(double value)
{
    // Written so that a value that is not a number ends at the lower limit.
    if (!(value >= minimumScale))
        return minimumScale;
    return std::min(value, maximumScale);
}

void CanvasZoom::setZoomScale(double value, const QRectF &fit)
{
    m_zoomScale = clampedScale(value);
    m_panOffset = clampedPanOffset(m_panOffset, fit, m_zoomScale);
}

void CanvasZoom::setZoomAndPan(double scale, QPointF offset, const QRectF &fit)
{
    m_zoomScale = clampedScale(scale);
    m_panOffset = clampedPanOffset(offset, fit, m_zoomScale);
    m_panStartOffset.reset();
}

void CanvasZoom::resetZoom()
{
    m_zoomScale = 1;
    m_panOffset = {};
    m_panStartOffset.reset();
}

void CanvasZoom::panChanged(QPointF translation, const QRectF &fit)
{
    if (!m_panStartOffset)
        m_panStartOffset = m_panOffset;
    m_panOffset = clampedPanOffset(*m_panStartOffset + translation, fit, m_zoomScale);
}

void CanvasZoom::panEnded(const QRectF &fit)
{
    m_panOffset = clampedPanOffset(m_panOffset, fit, m_zoomScale);
    m_panStartOffset.reset();
}

void CanvasZoom::focus(const NormRect &normalizedBounds, const QRectF &fit)
{
    const double fitWidth = fit.width();
    const double fitHeight = fit.height();
    if (!(fitWidth > 0) || !(fitHeight > 0))
        return;
    const double target = std::max(m_zoomScale, focusScale);
    const NormRect box = normalizedBounds.standardized();
    // Normalised y grows upwards while the canvas's y grows down: the vertical sign flips.
    const QPointF offset((0.5 - box.midX()) * fitWidth * target, (box.midY() - 0.5) * fitHeight * target);
    setZoomAndPan(target, offset, fit);
}

QRectF CanvasZoom::displayedImageRect(const QRectF &fit) const
{
    const QRectF f = fit.normalized();
    const double width = f.width() * m_zoomScale;
    const double height = f.height() * m_zoomScale;
    const QPointF pan = clampedPanOffset(m_panOffset, f, m_zoomScale);
    return {f.center().x() - width / 2 + pan.x(), f.center().y() - height / 2 + pan.y(), width, height};
}

QPointF CanvasZoom::clampedPanOffset(QPointF offset, const QRectF &fit, double scale)
{
    if (!(scale > minimumScale))
        return {};
    const double limitX = std::abs(fit.width()) * (scale - 1) * panLimitFactor;
    const double limitY = std::abs(fit.height()) * (scale - 1) * panLimitFactor;
    return {std::min(std::max(offset.x(), -limitX), limitX), std::min(std::max(offset.y(), -limitY), limitY)};
}

} // namespace velmora
