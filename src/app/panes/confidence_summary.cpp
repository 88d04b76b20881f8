#include "app/panes/confidence_summary.h"

#include "app/kit/look.h"

namespace velmora {

namespace {
constexpr double kCheckBelow = 0.8;
constexpr double kHighFrom = 0.9;
constexpr double kTintOpacity = 0.14;
} // namespace

ConfidenceSummary ConfidenceSummary::make(const Detection &detection, bool isActive)
{
    if (!isActive)
        return {QStringLiteral("Visible"), QStringLiteral("pause.circle"), ConfidenceTone::neutral};
    if (detection.boundsPrecision == DetectionBoundsPrecision::lineFallback)
        return {QStringLiteral("Check bounds"), QStringLiteral("rectangle.dashed"), ConfidenceTone::warning};
    // "Not confident", as the needs-review rule reads it: a confidence that is not a
    // number is checked, never shown as trusted.
    if (detection.suggestedAction == DetectionSuggestedAction::review || !(detection.confidence >= kCheckBelow))
        return {QStringLiteral("Check"), QStringLiteral("exclamationmark.triangle"), ConfidenceTone::warning};
    if (detection.confidence >= kHighFrom)
        return {QStringLiteral("High"), QStringLiteral("checkmark.seal"), ConfidenceTone::high};
    return {QStringLiteral("Medium"), QStringLiteral("questionmark.circle"), ConfidenceTone::neutral};
}

QColor ConfidenceSummary::foregroundColor(const QPalette &palette) const
{
    switch (tone) {
    case ConfidenceTone::neutral: return look::secondary(palette);
    case ConfidenceTone::warning: return look::orange(palette);
    case ConfidenceTone::high: return look::green(palette);
    }
    return look::secondary(palette);
}

QColor ConfidenceSummary::backgroundColor(const QPalette &palette) const
{
    if (tone == ConfidenceTone::neutral)
        return palette.color(QPalette::Base);
    return look::withOpacity(foregroundColor(palette), kTintOpacity);
}

} // namespace velmora
