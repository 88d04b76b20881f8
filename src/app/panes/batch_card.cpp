#include "app/panes/batch_card.h"

#include "app/kit/look.h"

namespace velmora {

QColor tintColor(ReviewTint tint, const QPalette &palette)
{
    switch (tint) {
    case ReviewTint::orange: return look::orange(palette);
    case ReviewTint::accent: return look::accent(palette);
    case ReviewTint::green: return look::green(palette);
    case ReviewTint::secondary: return look::secondary(palette);
    }
    return look::secondary(palette);
}

BatchCardLook BatchCardLook::make(const ReviewDocument &item, bool isSelected)
{
    BatchCardLook look;
    look.isSelected = isSelected;
    look.showsProgress = item.isChecking();
    look.statusSymbol = item.statusSymbol();
    look.statusTint = item.statusColor();
    look.title = item.displayName();
    look.statusText = item.statusText();
    look.hasNewFinding = item.didScan() && item.hasFindings() && !item.didReviewInBatch();
    look.borderWidth = isSelected ? 2 : 1;
    look.accessibleLabel = look.title + QStringLiteral(", ") + look.statusText
        + (look.hasNewFinding ? QStringLiteral(", new finding image") : QString());
    return look;
}

QColor BatchCardLook::borderColor(const QPalette &palette) const
{
    if (isSelected)
        return look::accent(palette);
    if (hasNewFinding)
        return look::withOpacity(look::orange(palette), 0.7);
    return look::withOpacity(look::secondary(palette), 0.18);
}

} // namespace velmora
