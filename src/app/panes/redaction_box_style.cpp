#include "app/panes/redaction_box_style.h"

#include "app/shell/system_colors.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace velmora::RedactionBoxLook {

namespace {

constexpr double kReviewConfidence = 0.8;
constexpr double kBadgeAbove = -24;
constexpr double kBadgeBelowGap = 4;
constexpr double kRoomAboveForBadge = 28;

QString tr(const char *text)
{
    return QCoreApplication::translate("RedactionBoxLook", text);
}

} // namespace

bool needsReview(const RedactionPlanEntry &entry)
{
    if (!entry.isActive)
        return false;
    const Detection &d = entry.detection;
    // A confidence that is not a number is no assurance: it asks for a look as a low one does.
    return d.suggestedAction == DetectionSuggestedAction::review || !(d.confidence >= kReviewConfidence)
        || d.boundsPrecision == DetectionBoundsPrecision::lineFallback;
}

RedactionBoxStyle style(const RedactionPlanEntry &entry, bool isSelected)
{
    if (!entry.isActive) {
        return isSelected ? RedactionBoxStyle{BoxColor::accent, 3, true, BoxColor::secondary, 0.08}
                          : RedactionBoxStyle{BoxColor::secondary, 2, true, BoxColor::secondary, 0.08};
    }
    const bool review = needsReview(entry);
    const BoxColor outline = review && !isSelected ? BoxColor::orange : BoxColor::accent;
    const BoxColor fill = review ? BoxColor::orange : BoxColor::accent;
    return {outline, 3, false, fill, 0.16};
}

QString badgeLabel(const RedactionPlanEntry &entry)
{
    if (!entry.isActive)
        return tr("Visible");
    return needsReview(entry) ? tr("Check") : tr("Redact");
}

QString badgeText(const RedactionPlanEntry &entry)
{
    return entry.detection.label + QLatin1String(" - ") + badgeLabel(entry);
}

double badgeOffsetY(const QRectF &box)
{
    return box.top() >= kRoomAboveForBadge ? kBadgeAbove : box.height() + kBadgeBelowGap;
}

QString accessibilityValue(const RedactionPlanEntry &entry)
{
    const QString state = entry.isActive ? tr("Will redact in export") : tr("Visible in export");
    const double confidence = entry.detection.confidence;
    // Confidence lies within 0 ... 1 by construction; a value outside it must still read as a number.
    const long percent = std::isfinite(confidence) ? std::lround(std::clamp(confidence, 0.0, 1.0) * 100) : 0;
    return tr("%1. %2. %3 percent confidence.").arg(state, badgeLabel(entry)).arg(percent);
}

QString accessibilityHint()
{
    return tr("Selects this redaction box for review.");
}

QColor resolve(BoxColor color, const QPalette &palette)
{
    switch (color) {
    case BoxColor::accent: return SystemColors::accent(palette);
    case BoxColor::orange: return SystemColors::orange(palette);
    case BoxColor::secondary: return SystemColors::secondary(palette);
    }
    return SystemColors::accent(palette);
}

} // namespace velmora::RedactionBoxLook
