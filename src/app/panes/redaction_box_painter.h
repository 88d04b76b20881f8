#pragma once

#include "app/panes/redaction_box_style.h"
#include "core/redaction/redaction_plan.h"

#include <QRectF>

class QPainter;
class QPalette;

namespace velmora {

// Paints what the review canvas draws over the image, in canvas space:
// a finding's box with its badge and handles, and the box being drawn.
namespace RedactionBoxPainter {

struct BoxState
{
    bool isSelected = false;
    bool showsBadge = false;
    bool showsHandles = false;
};

void paintBox(QPainter &painter, const QRectF &box, const RedactionPlanEntry &entry, BoxState state,
              const QPalette &palette);

/// The dashed accent box of a drawing drag.
void paintDraft(QPainter &painter, const QRectF &box, const QPalette &palette);

/// The badge's rectangle for a box: its top-left at the box's left edge, above or below it.
QRectF badgeRect(const QRectF &box, const QString &text);

} // namespace RedactionBoxPainter

} // namespace velmora
