#include "app/review/batch_review_item.h"

#include "core/redaction/needs_review.h"
#include "core/text/unicode_text.h"

namespace velmora {

BatchReviewItem BatchReviewItem::make(std::optional<QUrl> sourceURL, std::optional<QString> sourceLabel,
                                      SafeShareSourceType sourceType, ReviewImageSource source,
                                      QString reviewStatusNote)
{
    BatchReviewItem item;
    item.id = QUuid::createUuid();
    item.sourceURL = std::move(sourceURL);
    item.sourceLabel = std::move(sourceLabel);
    item.sourceType = sourceType;
    item.source = std::move(source);
    item.reviewStatusNote = std::move(reviewStatusNote);
    return item;
}

int BatchReviewItem::needsReviewCount() const
{
    return needsReviewEntries(redactionPlan);
}

QString sourceDisplayName(const std::optional<QString> &sourceLabel, const std::optional<QUrl> &sourceURL)
{
    if (sourceLabel)
        return *sourceLabel;
    if (sourceURL) {
        const QString name = unicode::trimmed(sourceURL->fileName());
        return name.isEmpty() ? QStringLiteral("Image") : name;
    }
    return QStringLiteral("Clipboard image");
}

QString BatchReviewItem::displayName() const
{
    return sourceDisplayName(sourceLabel, sourceURL);
}

QString BatchReviewItem::statusText() const
{
    if (isChecking)
        return QStringLiteral("Scanning");
    if (errorText)
        return QStringLiteral("Needs attention");
    if (!didScan)
        return QStringLiteral("Queued");
    if (!hasFindings())
        return QStringLiteral("No findings");
    if (didReviewInBatch)
        return QStringLiteral("Reviewed");
    if (const int check = needsReviewCount(); check > 0)
        return QStringLiteral("%1 to check").arg(check);
    return QStringLiteral("%1 to redact").arg(activeEntryCount(redactionPlan));
}

QString BatchReviewItem::statusSymbol() const
{
    if (isChecking)
        return QStringLiteral("hourglass");
    if (errorText)
        return QStringLiteral("exclamationmark.triangle");
    if (!didScan)
        return QStringLiteral("clock");
    if (!hasFindings() || didReviewInBatch)
        return QStringLiteral("checkmark.circle");
    if (needsReviewCount() > 0)
        return QStringLiteral("exclamationmark.circle");
    return QStringLiteral("checkmark.seal");
}

ReviewTint BatchReviewItem::statusColor() const
{
    if (errorText || needsReviewCount() > 0)
        return ReviewTint::orange;
    if (isChecking)
        return ReviewTint::accent;
    if (didScan && !didReviewInBatch)
        return ReviewTint::green;
    return ReviewTint::secondary;
}

} // namespace velmora
