#pragma once

#include "app/panes/box_edit_geometry.h"
#include "app/panes/canvas_zoom.h"
#include "core/redaction/redaction_plan.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QUuid>

#include <functional>
#include <optional>

namespace velmora {

/// What lies under a canvas point: a box, or one of the selected box's handles.
struct CanvasHit
{
    QUuid id;
    std::optional<ResizeCorner> corner; ///< Set when the point is on a resize handle.
    friend bool operator==(const CanvasHit &, const CanvasHit &) = default;
};

/// What the canvas's gestures ask of the review, which owns the plan, the selection
/// and the draw mode and sets them back on the canvas. Each may be left empty.
struct CanvasGestureIntents
{
    /// A click on a box.
    std::function<void(const QUuid &id)> boxSelected;
    /// A box drawn in draw mode, in normalised image coordinates.
    std::function<void(const NormRect &bounds)> boxAdded;
    /// One step of a move or resize drag: the bounds the box has now.
    std::function<void(const QUuid &id, const NormRect &bounds)> boxMoved;
    /// The end of a move or resize drag, also of one that changed nothing.
    std::function<void()> editFinished;
};

// The review canvas without its widget: the plan, selection and draw mode it is bound
// to, the zoom and pan, the hover, the box being drawn, and the pointer gestures that
// select, draw, move and resize boxes and pan the image. The widget hands it pointer
// positions in canvas space (origin top-left, y down) through grab/move/release and
// hoverAt, and draws what it holds; everything here runs without events or a display.
//
// A gesture belongs to what lies under its press, front to back: in draw mode the
// displayed image (a new box); otherwise a resize handle of the selected box, then a
// box (later plan entries lie in front), then, while zoomed in, the pan. A press and
// release that never moved the pointer by the drag threshold is a click: on a box it
// selects it. Nothing else clicks.
class CanvasGestureHandler
{
public:
    static constexpr double dragThreshold = 2;   ///< Drawing, moving and panning.
    static constexpr double resizeThreshold = 1; ///< Resize handles.
    static constexpr double handleDiameter = 12;
    static constexpr double handleOutlineWidth = 2;

    explicit CanvasGestureHandler(CanvasGestureIntents intents = {});

    // The review's values as the canvas shows them, set from outside. A drag moves its
    // box here at once, so that it follows the pointer before the review answers.
    const RedactionPlan &redactionPlan() const { return m_plan; }
    void setRedactionPlan(const RedactionPlan &plan) { m_plan = plan; }
    const std::optional<QUuid> &selectedDetectionId() const { return m_selectedDetectionId; }
    void setSelectedDetectionId(const std::optional<QUuid> &id) { m_selectedDetectionId = id; }
    bool isManualEditing() const { return m_isManualEditing; }
    void setManualEditing(bool on) { m_isManualEditing = on; }
    bool isPreviewingRedactedOutput() const { return m_isPreviewingRedactedOutput; }
    void setPreviewingRedactedOutput(bool on) { m_isPreviewingRedactedOutput = on; }
    bool keepsManualEditingAfterCommit() const { return m_keepsManualEditingAfterCommit; }
    void setKeepsManualEditingAfterCommit(bool keeps) { m_keepsManualEditingAfterCommit = keeps; }

    // Layout.
    QSizeF imageSize() const { return m_imageSize; }
    /// A different size from the one shown resets zoom and pan; returns whether it did.
    bool setImageSize(const QSizeF &size);
    void setCanvasSize(const QSizeF &size) { m_canvasSize = size; }
    QRectF fitRect() const;
    QRectF displayedImageRect() const;
    QRectF viewRect(const NormRect &normalized) const;

    // Zoom and pan.
    const CanvasZoom &zoom() const { return m_zoom; }
    void zoomIn();
    void zoomOut();
    void fitImage();
    /// Zooms onto the selected entry; nothing when no entry is selected or it is not in the plan.
    void focusSelectedDetection();

    // What the canvas shows besides the plan.
    bool boxesShown() const { return !m_isPreviewingRedactedOutput; }
    bool boxesTakeHits() const { return !m_isPreviewingRedactedOutput && !m_isManualEditing; }
    bool handlesShown(const QUuid &id) const { return m_selectedDetectionId == id && !m_isManualEditing; }
    bool showsBadge(const QUuid &id) const { return m_selectedDetectionId == id || m_hoveredDetectionId == id; }
    const std::optional<QUuid> &hoveredDetectionId() const { return m_hoveredDetectionId; }
    const std::optional<NormRect> &draftBounds() const { return m_draftBounds; }
    bool isEditingBounds() const { return m_moveStartBounds || m_resizeStartBounds; }
    bool isPanning() const { return m_zoom.panStartOffset().has_value(); }

    /// The front-most box or handle under a canvas point, whether or not boxes take hits.
    std::optional<CanvasHit> hitTest(QPointF point) const;

    // Pointer gestures, in canvas space.
    void grab(QPointF point);
    void move(QPointF point);
    void release(QPointF point);
    /// The pointer moved with no button held, or left the canvas (nothing).
    void hoverAt(std::optional<QPointF> point);
    /// What a click on a box does: asks the review to select it (which ends draw mode).
    void selectBox(const QUuid &id);

private:
    enum class GrabKind { nothing, draw, box, handle, pan };
    struct Grab
    {
        GrabKind kind = GrabKind::nothing;
        QPointF start;
        QPointF last; ///< Where the pointer was last seen.
        QUuid id;
        ResizeCorner corner = ResizeCorner::topLeading;
        bool started = false;
    };

    void updateDraft(QPointF start, QPointF current);
    void commitDraft(QPointF start, QPointF end);
    void moveSelectedBox(const QUuid &id, QPointF translation);
    void resizeSelectedBox(ResizeCorner corner, const QUuid &id, QPointF translation);
    void finishEdit(std::optional<NormRect> &startBounds);
    /// The entry's bounds when a box edit may run on it now, else nothing.
    std::optional<NormRect> editableBounds(const QUuid &id) const;
    void applyBounds(const QUuid &id, const NormRect &bounds);

    CanvasGestureIntents m_intents;

    RedactionPlan m_plan;
    std::optional<QUuid> m_selectedDetectionId;
    bool m_isManualEditing = false;
    bool m_isPreviewingRedactedOutput = false;
    bool m_keepsManualEditingAfterCommit = false;

    QSizeF m_imageSize;
    QSizeF m_canvasSize;

    std::optional<NormRect> m_draftBounds;
    std::optional<NormRect> m_moveStartBounds;
    std::optional<NormRect> m_resizeStartBounds;
    CanvasZoom m_zoom;
    std::optional<QUuid> m_hoveredDetectionId;

    Grab m_grab;
};

} // namespace velmora
