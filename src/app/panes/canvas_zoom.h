#pragma once

#include "core/detection/norm_rect.h"

#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>

namespace velmora {

// The zoom and pan of the review canvas. The scale magnifies the image's fit rectangle
// about its centre; the pan displaces the magnified image's centre, in canvas points
// (origin top-left, y down), so one offset is the same on-screen shift at every scale.
// Every setter keeps the scale within 1 ... 4, and the displayed rectangle always uses
// the pan clamped for the current fit rectangle: a canvas that shrank while zoomed never
// shows a gap, although the stored pan is corrected only by the next zoom or pan step.
// The canvas owns one for as long as it shows its image; nothing of it is stored.
class CanvasZoom
{
public:
    static constexpr double zoomStep = 1.25;
    static constexpr double minimumScale = 1.0;
    static constexpr double maximumScale = 4.0;
    static constexpr double focusScale = 1.6;   ///< The least scale when zooming onto a finding.
    static constexpr double panLimitFactor = 0.5; ///< Half the extra size on each axis.

    double zoomScale() const { return m_zoomScale; }
    QPointF panOffset() const { return m_panOffset; }
    std::optional<QPointF> panStartOffset() const { return m_panStartOffset; }

    bool canZoomIn() const { return m_zoomScale < maximumScale; }
    bool canZoomOut() const { return m_zoomScale > minimumScale; }
    /// The scale as a whole percentage, halves away from zero.
    int zoomPercent() const;
    QString zoomPercentText() const;         ///< "156%"
    QString zoomAccessibilityValue() const; ///< "156 percent"

    void zoomIn(const QRectF &fit) { setZoomScale(m_zoomScale * zoomStep, fit); }
    void zoomOut(const QRectF &fit) { setZoomScale(m_zoomScale / zoomStep, fit); }
    /// Clamps the scale and re-clamps the pan against it; a running pan keeps its start.
    void setZoomScale(double value, const QRectF &fit);
    /// Clamps the scale, then the offset at that scale, and drops any pan start.
    void setZoomAndPan(double scale, QPointF offset, const QRectF &fit);
    void resetZoom();

    /// One change of a pan drag: the pan follows start + total translation, clamped.
    void panChanged(QPointF translation, const QRectF &fit);
    void panEnded(const QRectF &fit);

    /// Zooms onto a finding's normalised box: at least the focus scale, its centre
    /// brought towards the fit rectangle's centre as far as the pan limit allows.
    /// Does nothing for an empty fit rectangle.
    void focus(const NormRect &normalizedBounds, const QRectF &fit);

    /// The fit rectangle scaled about its centre and moved by the clamped pan.
    QRectF displayedImageRect(const QRectF &fit) const;

    /// Keeps the magnified image covering its fit rectangle: each axis within ± half
    /// the extra size; zero at scale 1 or below.
    static QPointF clampedPanOffset(QPointF offset, const QRectF &fit, double scale);

    friend bool operator==(const CanvasZoom &, const CanvasZoom &) = default;

private:
    static double clampedScale(double value);

    double m_zoomScale = 1;
    QPointF m_panOffset;
    std::optional<QPointF> m_panStartOffset;
};

} // namespace velmora
