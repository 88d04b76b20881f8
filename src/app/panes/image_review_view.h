#pragma once

#include "app/panes/canvas_gesture_handler.h"
#include "core/redaction/redaction_plan.h"

#include <QImage>
#include <QPixmap>
#include <QUuid>
#include <QWidget>

#include <optional>

class QVariantAnimation;

namespace velmora {

class CanvasZoomBar;

// The review canvas: one image aspect-fitted into the widget, one box per entry of its
// redaction plan, the box being drawn, and the zoom bar on top. It owns no review data:
// the plan, the selection and the draw mode are the review's, set here; the canvas
// only asks for changes through its intent signals (a box selected, added or moved, an
// edit finished), and the review answers by setting them anew.
//
// All logic lives in CanvasGestureHandler; this widget translates mouse events into it,
// paints what it holds and animates zoom changes.
class ImageReviewView : public QWidget
{
    Q_OBJECT
public:
    explicit ImageReviewView(QWidget *parent = nullptr);

    /// The picture shown: the loaded image, or the cleaned output while previewing. A
    /// picture of another size than the one shown resets zoom and pan; one of the same
    /// size (the output preview of this image) keeps them. A picture in RGB32 or
    /// premultiplied ARGB32 becomes the pixmap as it is; any other is converted here.
    void setImage(const QImage &image);
    const QImage &image() const { return m_image; }
    /// The picture as it is painted, made again only when the picture changes.
    const QPixmap &pixmap() const { return m_pixmap; }
    /// While the next picture is on its way, the one shown stays, dimmed, with no boxes,
    /// and takes no gestures.
    void setWaiting(bool waiting);
    bool isWaiting() const { return m_isWaiting; }

    void setRedactionPlan(const RedactionPlan &plan);
    const RedactionPlan &redactionPlan() const { return m_gestures.redactionPlan(); }
    /// A new selection zooms onto its box; clearing it keeps the view.
    void setSelectedDetectionId(const std::optional<QUuid> &id);
    const std::optional<QUuid> &selectedDetectionId() const { return m_gestures.selectedDetectionId(); }
    void setManualEditing(bool on);
    bool isManualEditing() const { return m_gestures.isManualEditing(); }
    /// While previewing, the canvas shows no boxes and takes no box gestures.
    void setPreviewingRedactedOutput(bool on);
    /// The draw mode that follows an added box.
    void setKeepsManualEditingAfterCommit(bool keeps);

    /// What a click on the box does; also the press action of its accessibility element.
    void selectBox(const QUuid &id);

    /// Everything the canvas shows and does, for reading.
    const CanvasGestureHandler &state() const { return m_gestures; }

signals:
    void boxSelected(const QUuid &id);
    /// A box drawn in draw mode, in normalised image coordinates.
    void boxAdded(const velmora::NormRect &bounds);
    /// One step of a move or resize drag.
    void boxMoved(const QUuid &id, const velmora::NormRect &bounds);
    /// The end of a move or resize drag.
    void editFinished();
    /// The preview toggle of the canvas was turned on or off.
    void outputPreviewWritten(bool on);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    template <typename Step>
    void runGesture(Step step);
    void zoomStep(void (CanvasGestureHandler::*step)(), int durationMs);
    void focusSelection();
    void animateZoom(int durationMs);
    void refresh();
    QRectF paintedImageRect() const;
    void placeZoomBar();

    CanvasGestureHandler m_gestures;
    QImage m_image;
    QPixmap m_pixmap;
    bool m_isWaiting = false;
    CanvasZoomBar *m_zoomBar = nullptr;
    QVariantAnimation *m_zoomAnimation = nullptr;
    QRectF m_animationStart; ///< The image's painted rectangle when the running zoom animation began.
};

} // namespace velmora
