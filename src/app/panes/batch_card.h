#pragma once

#include "app/review/review_document.h"

#include <QColor>
#include <QPalette>
#include <QString>

namespace velmora {

/// The colour of a review tint in a palette.
QColor tintColor(ReviewTint tint, const QPalette &palette);

// What the queue card of one batch item shows: a spinner while the item is scanned,
// else its status symbol; its name and status; a "New" badge and an orange border
// while a finding was not looked at yet; the accent border while it is the image
// under review.
struct BatchCardLook
{
    bool isSelected = false;
    bool showsProgress = false;
    QString statusSymbol;
    ReviewTint statusTint = ReviewTint::secondary;
    QString title;
    QString statusText;
    bool hasNewFinding = false;
    qreal borderWidth = 1;
    QString accessibleLabel;

    static BatchCardLook make(const ReviewDocument &item, bool isSelected);
    /// Accent when selected, else orange at 0.7 for a new finding, else secondary at 0.18.
    QColor borderColor(const QPalette &palette) const;

    friend bool operator==(const BatchCardLook &, const BatchCardLook &) = default;
};

} // namespace velmora
