#pragma once

#include "core/redaction/redaction_plan.h"
#include "core/support/raw_enum.h"

#include <QColor>
#include <QPalette>
#include <QRectF>
#include <QString>

namespace velmora {

/// The colours a box is drawn in, resolved against the palette at paint time.
enum class BoxColor { accent, orange, secondary };

/// How one box of the review canvas is outlined and filled.
struct RedactionBoxStyle
{
    BoxColor outlineColor = BoxColor::accent;
    double outlineWidth = 3;
    bool dashed = false; ///< [6, 4] in points, from the top-left corner.
    BoxColor fillColor = BoxColor::accent;
    double fillOpacity = 0.16;

    friend bool operator==(const RedactionBoxStyle &, const RedactionBoxStyle &) = default;
};

// The look and the words of a finding's box: whether it will be masked, whether it
// deserves a second look, whether it is selected. Pure functions of the plan entry.
namespace RedactionBoxLook {

RedactionBoxStyle style(const RedactionPlanEntry &entry, bool isSelected);

/// "Visible", "Check" or "Redact".
QString badgeLabel(const RedactionPlanEntry &entry);
/// The detection's label, " - " and the badge word.
QString badgeText(const RedactionPlanEntry &entry);
/// Where the badge's top sits relative to the box's top: above it when there is room
/// under the canvas's top edge, else just below the box.
double badgeOffsetY(const QRectF &box);

/// "Will redact in export. Check. 73 percent confidence."
QString accessibilityValue(const RedactionPlanEntry &entry);
QString accessibilityHint();

QColor resolve(BoxColor color, const QPalette &palette);

} // namespace RedactionBoxLook

} // namespace velmora

VELMORA_RAW_ENUM(velmora::BoxColor,
    {velmora::BoxColor::accent, "accent"}, {velmora::BoxColor::orange, "orange"},
    {velmora::BoxColor::secondary, "secondary"});
