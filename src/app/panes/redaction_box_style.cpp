#include "app/panes/redaction_box_style.h"

#include "app/kit/look.h"
#include "core/redaction/needs_review.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace velmora::RedactionBoxLook {

namespace {

constexpr double kBadgeAbove = -24;
constexpr double kBadgeBelowGap = 4;
constexpr double kRoomAboveForBadge = 28;

QString tr(const char *text)
{
    return QCoreApplication::translate("RedactionBoxLook", text);
}

} // namespace

RedactionBoxStyle style(const RedactionPlanEntry &entry, bool isSelected)
{
    if (!entry.isActive) {
        return isSelected ? RedactionBoxStyle{BoxColor::accent, 3, true, BoxColor::secondary, 0.08}
                          : RedactionBoxStyle{BoxColor::secondary, 2, true, BoxColor::secondary, 0.08};
    }
    const bool review = entryNeedsReview(entry);
    const BoxColor outline = review && !isSelected ? BoxColor::orange : BoxColor::accent;
    const BoxColor fill = review ? BoxColor::orange : BoxColor::accent;
    return {outline, 3, false, fill, 0.16};
}

QString badgeLabel(const RedactionPlanEntry &entry)
{
    if (!entry.isActive)
        return tr("Visible");
    return entryNeedsReview(entry) ? tr("Check") : tr("Redact");
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
    case BoxColor::accent: return look::accent(palette);
    case BoxColor::orange: return look::orange(palette);
    case BoxColor::secondary: return look::secondary(palette);
    }
    return look::accent(palette);
}

} // namespace velmora::RedactionBoxLook
