#include "app/panes/canvas_gesture_handler.h"

#include "app/panes/canvas_coordinates.h"
#include "core/redaction/redaction_geometry.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <utility>

namespace velmora {

namespace {

// Handles are drawn in corner order, so the last one lies on top.
constexpr std::array kCornersFrontToBack{ResizeCorner::bottomTrailing, ResizeCorner::bottomLeading,
                                         ResizeCorner::topTrailing, ResizeCorner::topLeading};

const RedactionPlanEntry *findEntry(const RedactionPlan &plan, const QUuid &id)
{
    const auto &entries = plan.entries();
    const auto found = std::find_if(entries.cbegin(), entries.cend(),
                                    [&](const RedactionPlanEntry &entry) { return entry.id() == id; });
    return found == entries.cend() ? nullptr : &*found;
}

} // namespace

CanvasGestureHandler::CanvasGestureHandler(CanvasGestureIntents intents)
    : m_intents(std::move(intents))
{
}

bool CanvasGestureHandler::setImageSize(const QSizeF &size)
{
    if (size == m_imageSize)
        return false;
    m_imageSize = size;
    m_zoom.resetZoom();
    return true;
}

QRectF CanvasGestureHandler::fitRect() const
{
    return RedactionGeometry::aspectFitRect(m_imageSize, m_canvasSize);
}

QRectF CanvasGestureHandler::displayedImageRect() const
{
    return m_zoom.displayedImageRect(fitRect());
}

QRectF CanvasGestureHandler::viewRect(const NormRect &normalized) const
{
    return CanvasCoordinates::mapToView(normalized, m_imageSize, displayedImageRect());
}

void CanvasGestureHandler::zoomIn()
{
    m_zoom.zoomIn(fitRect());
}

void CanvasGestureHandler::zoomOut()
{
    m_zoom.zoomOut(fitRect());
}

void CanvasGestureHandler::fitImage()
{
    m_zoom.resetZoom();
}

void CanvasGestureHandler::focusSelectedDetection()
{
    if (!m_selectedDetectionId)
        return; // Clearing the selection keeps the view where it is.
    if (const RedactionPlanEntry *entry = findEntry(m_plan, *m_selectedDetectionId))
        m_zoom.focus(entry->detection.normalizedBounds, fitRect());
}

std::optional<CanvasHit> CanvasGestureHandler::hitTest(QPointF point) const
{
    const auto &entries = m_plan.entries();
    const double handleReach = (handleDiameter + handleOutlineWidth) / 2;
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        const QRectF box = viewRect(entry->detection.normalizedBounds);
        if (handlesShown(entry->id())) {
            for (const ResizeCorner corner : kCornersFrontToBack) {
                if (QLineF(point, BoxEditGeometry::handleCentre(corner, box)).length() <= handleReach)
                    return CanvasHit{entry->id(), corner};
            }
        }
        if (box.contains(point))
            return CanvasHit{entry->id(), std::nullopt};
    }
    return std::nullopt;
}

void CanvasGestureHandler::grab(QPointF point)
{
    m_grab = {};
    m_grab.start = point;
    m_grab.last = point;
    if (!m_isPreviewingRedactedOutput && m_isManualEditing) {
        // The draw layer covers the displayed image and lies above the boxes.
        if (CanvasCoordinates::startsOnImage(point, displayedImageRect()))
            m_grab.kind = GrabKind::draw;
        return;
    }
    if (boxesTakeHits()) {
        if (const auto hit = hitTest(point)) {
            m_grab.kind = hit->corner ? GrabKind::handle : GrabKind::box;
            m_grab.id = hit->id;
            m_grab.corner = hit->corner.value_or(ResizeCorner::topLeading);
            return;
        }
    }
    if (!m_isManualEditing && m_zoom.zoomScale() > CanvasZoom::minimumScale)
        m_grab.kind = GrabKind::pan;
}

void CanvasGestureHandler::move(QPointF point)
{
    if (m_grab.kind == GrabKind::nothing)
        return;
    m_grab.last = point;
    if (!m_grab.started) {
        const double threshold = m_grab.kind == GrabKind::handle ? resizeThreshold : dragThreshold;
        if (QLineF(m_grab.start, point).length() < threshold)
            return;
        m_grab.started = true;
    }
    const QPointF translation = point - m_grab.start;
    switch (m_grab.kind) {
    case GrabKind::draw: updateDraft(m_grab.start, point); break;
    case GrabKind::box: moveSelectedBox(m_grab.id, translation); break;
    case GrabKind::handle: resizeSelectedBox(m_grab.corner, m_grab.id, translation); break;
    case GrabKind::pan: m_zoom.panChanged(translation, fitRect()); break;
    case GrabKind::nothing: break;
    }
}

void CanvasGestureHandler::release(QPointF point)
{
    // A release where the pointer was not seen yet is one more step of the drag.
    if (point != m_grab.last)
        move(point);
    const Grab grab = std::exchange(m_grab, Grab{});
    if (!grab.started) {
        if (grab.kind == GrabKind::box || grab.kind == GrabKind::handle)
            selectBox(grab.id);
        return;
    }
    switch (grab.kind) {
    case GrabKind::draw: commitDraft(grab.start, point); break;
    case GrabKind::box: finishEdit(m_moveStartBounds); break;
    case GrabKind::handle: finishEdit(m_resizeStartBounds); break;
    case GrabKind::pan: m_zoom.panEnded(fitRect()); break;
    case GrabKind::nothing: break;
    }
}

void CanvasGestureHandler::hoverAt(std::optional<QPointF> point)
{
    std::optional<QUuid> hovered;
    if (point && boxesTakeHits()) {
        if (const auto hit = hitTest(*point))
            hovered = hit->id;
    }
    m_hoveredDetectionId = hovered;
}

void CanvasGestureHandler::selectBox(const QUuid &id)
{
    if (m_intents.boxSelected)
        m_intents.boxSelected(id);
}

void CanvasGestureHandler::updateDraft(QPointF start, QPointF current)
{
    const QRectF displayed = displayedImageRect();
    if (m_isManualEditing && CanvasCoordinates::startsOnImage(start, displayed))
        m_draftBounds = BoxEditGeometry::draftBounds(start, current, displayed);
    else
        m_draftBounds.reset();
}

void CanvasGestureHandler::commitDraft(QPointF start, QPointF end)
{
    const QRectF displayed = displayedImageRect();
    if (m_isManualEditing && CanvasCoordinates::startsOnImage(start, displayed) && m_intents.boxAdded)
        m_intents.boxAdded(BoxEditGeometry::draftBounds(start, end, displayed));
    m_draftBounds.reset();
}

std::optional<NormRect> CanvasGestureHandler::editableBounds(const QUuid &id) const
{
    const QRectF displayed = displayedImageRect();
    if (m_selectedDetectionId != id || m_isPreviewingRedactedOutput || m_isManualEditing
        || !(displayed.width() > 0 && displayed.height() > 0))
        return std::nullopt;
    const RedactionPlanEntry *entry = findEntry(m_plan, id);
    if (!entry)
        return std::nullopt;
    return entry->detection.normalizedBounds;
}

void CanvasGestureHandler::moveSelectedBox(const QUuid &id, QPointF translation)
{
    const auto current = editableBounds(id);
    if (!current)
        return;
    if (!m_moveStartBounds)
        m_moveStartBounds = current;
    applyBounds(id, BoxEditGeometry::movedBounds(*m_moveStartBounds, translation, displayedImageRect()));
}

void CanvasGestureHandler::resizeSelectedBox(ResizeCorner corner, const QUuid &id, QPointF translation)
{
    const auto current = editableBounds(id);
    if (!current)
        return;
    if (!m_resizeStartBounds)
        m_resizeStartBounds = current;
    applyBounds(id, BoxEditGeometry::resizedBounds(*m_resizeStartBounds, translation, corner, displayedImageRect()));
}

void CanvasGestureHandler::applyBounds(const QUuid &id, const NormRect &bounds)
{
    // A refused box keeps its last accepted bounds; the drag goes on.
    if (!m_plan.updateBounds(id, bounds))
        return;
    if (m_intents.boxMoved)
        m_intents.boxMoved(id, findEntry(m_plan, id)->detection.normalizedBounds);
}

void CanvasGestureHandler::finishEdit(std::optional<NormRect> &startBounds)
{
    startBounds.reset();
    if (m_intents.editFinished)
        m_intents.editFinished();
}

} // namespace velmora
