#include "app/panes/image_review_view.h"

#include "app/panes/canvas_coordinates.h"
#include "app/panes/canvas_zoom_bar.h"
#include "app/panes/image_review_view_accessible.h"
#include "app/panes/redaction_box_painter.h"

#include <QAccessible>
#include <QEasingCurve>
#include <QMouseEvent>
#include <QPainter>
#include <QVariantAnimation>

namespace velmora {

namespace {

constexpr int kZoomAnimationMs = 120;
constexpr int kFocusAnimationMs = 160;
constexpr int kZoomBarMargin = 10;

// The ease-in-out timing curve of the system's animations.
QEasingCurve easeInOut()
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(0.42, 0), QPointF(0.58, 1), QPointF(1, 1));
    return curve;
}

QRectF interpolated(const QRectF &from, const QRectF &to, double progress)
{
    const auto mix = [progress](double a, double b) { return a + (b - a) * progress; };
    return {mix(from.x(), to.x()), mix(from.y(), to.y()), mix(from.width(), to.width()), mix(from.height(), to.height())};
}

} // namespace

ImageReviewView::ImageReviewView(QWidget *parent)
    : QWidget(parent)
    , m_gestures(CanvasGestureIntents{
          .boxSelected = [this](const QUuid &id) { emit boxSelected(id); },
          .boxAdded = [this](const NormRect &bounds) { emit boxAdded(bounds); },
          .boxMoved = [this](const QUuid &id, const NormRect &bounds) { emit boxMoved(id, bounds); },
          .editFinished = [this] { emit editFinished(); },
      })
    , m_zoomBar(new CanvasZoomBar(this))
    , m_zoomAnimation(new QVariantAnimation(this))
{
    static const bool accessible = [] {
        QAccessible::installFactory(imageReviewViewAccessibleFactory);
        return true;
    }();
    Q_UNUSED(accessible);
    setMouseTracking(true);
    setMinimumSize(m_zoomBar->sizeHint() + QSize(2 * kZoomBarMargin, 2 * kZoomBarMargin));

    m_zoomAnimation->setStartValue(0.0);
    m_zoomAnimation->setEndValue(1.0);
    m_zoomAnimation->setEasingCurve(easeInOut());
    connect(m_zoomAnimation, &QVariantAnimation::valueChanged, this, qOverload<>(&QWidget::update));

    connect(m_zoomBar, &CanvasZoomBar::zoomOutClicked, this,
            [this] { zoomStep(&CanvasGestureHandler::zoomOut, kZoomAnimationMs); });
    connect(m_zoomBar, &CanvasZoomBar::zoomInClicked, this,
            [this] { zoomStep(&CanvasGestureHandler::zoomIn, kZoomAnimationMs); });
    connect(m_zoomBar, &CanvasZoomBar::previewToggled, this, &ImageReviewView::outputPreviewWritten);
    connect(m_zoomBar, &CanvasZoomBar::fitClicked, this,
            [this] { zoomStep(&CanvasGestureHandler::fitImage, kZoomAnimationMs); });
    placeZoomBar();
}

void ImageReviewView::setImage(const QImage &image)
{
    // The review draws the canvas after every change, a box dragged by a step too:
    // converting a large picture again each time would stall the drag.
    if (image.cacheKey() == m_image.cacheKey())
        return;
    const bool hadImage = !m_image.isNull();
    m_image = image;
    // The review's pictures come in those formats, made off the main thread: nothing
    // is converted, nor scanned for transparent pixels, here.
    m_pixmap = QPixmap::fromImage(image, Qt::NoOpaqueDetection);
    m_pixmap.setDevicePixelRatio(1);
    if (m_gestures.setImageSize(image.deviceIndependentSize()) && hadImage)
        animateZoom(kZoomAnimationMs);
    refresh();
}

void ImageReviewView::setWaiting(bool waiting)
{
    if (waiting == m_isWaiting)
        return;
    m_isWaiting = waiting;
    m_gestures.hoverAt(std::nullopt);
    update();
}

void ImageReviewView::setRedactionPlan(const RedactionPlan &plan)
{
    m_gestures.setRedactionPlan(plan);
    refresh();
}

void ImageReviewView::setSelectedDetectionId(const std::optional<QUuid> &id)
{
    if (id == m_gestures.selectedDetectionId())
        return;
    m_gestures.setSelectedDetectionId(id);
    focusSelection();
    refresh();
}

void ImageReviewView::setManualEditing(bool on)
{
    m_gestures.setManualEditing(on);
    if (!m_gestures.boxesTakeHits())
        m_gestures.hoverAt(std::nullopt);
    refresh();
}

void ImageReviewView::setPreviewingRedactedOutput(bool on)
{
    m_gestures.setPreviewingRedactedOutput(on);
    m_zoomBar->showPreviewing(on);
    if (!m_gestures.boxesTakeHits())
        m_gestures.hoverAt(std::nullopt);
    refresh();
}

void ImageReviewView::setKeepsManualEditingAfterCommit(bool keeps)
{
    m_gestures.setKeepsManualEditingAfterCommit(keeps);
}

void ImageReviewView::selectBox(const QUuid &id)
{
    runGesture([&] { m_gestures.selectBox(id); });
}

template <typename Step>
void ImageReviewView::runGesture(Step step)
{
    // A selection the gesture asked for comes back through setSelectedDetectionId, which zooms onto it.
    step();
    refresh();
}

void ImageReviewView::zoomStep(void (CanvasGestureHandler::*step)(), int durationMs)
{
    (m_gestures.*step)();
    animateZoom(durationMs);
    refresh();
}

void ImageReviewView::focusSelection()
{
    const CanvasZoom before = m_gestures.zoom();
    m_gestures.focusSelectedDetection();
    if (!(m_gestures.zoom() == before))
        animateZoom(kFocusAnimationMs);
}

void ImageReviewView::animateZoom(int durationMs)
{
    m_animationStart = paintedImageRect();
    m_zoomAnimation->stop();
    m_zoomAnimation->setDuration(durationMs);
    m_zoomAnimation->start();
}

QRectF ImageReviewView::paintedImageRect() const
{
    const QRectF target = m_gestures.displayedImageRect();
    if (m_zoomAnimation->state() != QAbstractAnimation::Running)
        return target;
    return interpolated(m_animationStart, target, m_zoomAnimation->currentValue().toDouble());
}

void ImageReviewView::refresh()
{
    m_zoomBar->showZoom(m_gestures.zoom());
    update();
}

void ImageReviewView::placeZoomBar()
{
    m_zoomBar->resize(m_zoomBar->sizeHint());
    m_zoomBar->move((width() - m_zoomBar->width()) / 2, kZoomBarMargin);
    m_zoomBar->raise();
}

void ImageReviewView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_gestures.setCanvasSize(size());
    placeZoomBar();
}

void ImageReviewView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_isWaiting)
        return QWidget::mousePressEvent(event);
    runGesture([&] { m_gestures.grab(event->position()); });
}

void ImageReviewView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_isWaiting)
        return;
    if (event->buttons() & Qt::LeftButton) {
        runGesture([&] {
            m_gestures.move(event->position());
            m_gestures.hoverAt(event->position());
        });
        return;
    }
    // A bare pointer move repaints only when it enters or leaves a box.
    const std::optional<QUuid> hovered = m_gestures.hoveredDetectionId();
    m_gestures.hoverAt(event->position());
    if (m_gestures.hoveredDetectionId() != hovered)
        update();
}

void ImageReviewView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    runGesture([&] { m_gestures.release(event->position()); });
}

void ImageReviewView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    m_gestures.hoverAt(std::nullopt);
    update();
}

void ImageReviewView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setClipRect(rect()); // A zoomed image never paints outside the canvas.
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QRectF displayed = paintedImageRect();
    if (!m_pixmap.isNull() && !displayed.isEmpty())
        painter.drawPixmap(displayed, m_pixmap, QRectF(m_pixmap.rect()));
    if (m_isWaiting) {
        // The boxes belong to the image on its way, not to the one still shown.
        QColor veil = palette().color(QPalette::Window);
        veil.setAlphaF(0.6);
        painter.fillRect(rect(), veil);
        return;
    }

    const QSizeF imageSize = m_gestures.imageSize();
    if (m_gestures.boxesShown()) {
        for (const RedactionPlanEntry &entry : m_gestures.redactionPlan().entries()) {
            const QRectF box = CanvasCoordinates::mapToView(entry.detection.normalizedBounds, imageSize, displayed);
            const RedactionBoxPainter::BoxState state{
                .isSelected = m_gestures.selectedDetectionId() == entry.id(),
                .showsBadge = m_gestures.showsBadge(entry.id()),
                .showsHandles = m_gestures.handlesShown(entry.id()),
            };
            RedactionBoxPainter::paintBox(painter, box, entry, state, palette());
        }
    }
    if (const auto &draft = m_gestures.draftBounds())
        RedactionBoxPainter::paintDraft(painter, CanvasCoordinates::mapToView(*draft, imageSize, displayed), palette());
}

} // namespace velmora
