#pragma once

#include "app/review/review_image_source.h"
#include "core/history/safe_share_enums.h"
#include "core/redaction/manual_redaction_edit_history.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/raw_enum.h"

#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

namespace velmora {

/// The tint of a batch row's status; the widgets map it to a colour.
enum class ReviewTint { orange, accent, green, secondary };

// One image of the loaded batch with its own review state, the only home of that
// state: while it is the image on screen, the review reads and edits it here. A single
// opened image is a batch of one.
struct BatchReviewItem
{
    QUuid id;
    std::optional<QUrl> sourceURL;     ///< The file it was read from, which names it.
    std::optional<QString> sourceLabel; ///< Given by the intake path in place of a file name.
    SafeShareSourceType sourceType = SafeShareSourceType::unknown;
    ReviewImageSource source;          ///< Its pixels, decoded on demand.
    RedactionPlan redactionPlan;
    std::optional<QUuid> selectedDetectionID;
    ManualRedactionEditHistory manualEditHistory;
    QString reviewStatusNote;
    std::optional<QString> errorText; ///< Set when the item's scan failed.
    bool isChecking = false;          ///< A scan of this item runs.
    bool didScan = false;             ///< A scan of this item has finished.
    /// A scan ended on it (with a plan, a failure or a cancel), or it came with a plan of
    /// its own: only then may it leave the application.
    bool scanEnded = false;
    bool didReviewInBatch = false;    ///< Looked at in the batch after it was scanned.

    /// An item with a new id, the empty plan and a fresh history, neither scanned nor checking.
    static BatchReviewItem make(std::optional<QUrl> sourceURL, std::optional<QString> sourceLabel,
                                SafeShareSourceType sourceType, ReviewImageSource source, QString reviewStatusNote);

    int needsReviewCount() const;
    bool hasFindings() const { return !redactionPlan.entries().isEmpty(); }
    /// Scanned, without findings and without an error.
    bool isClean() const { return didScan && !hasFindings() && !errorText; }
    /// Its scan has ended and no other runs: it may be copied or exported.
    bool canShare() const { return scanEnded && !isChecking; }

    /// The label, else the file name (trimmed; "Image" when blank), else "Clipboard image".
    QString displayName() const;
    /// "Scanning", "Needs attention", "Queued", "No findings", "Reviewed", "n to check", "n to redact".
    QString statusText() const;
    /// The symbol name of the row's status.
    QString statusSymbol() const;
    /// The tint of the row's status; the error and needs-review tests come first.
    ReviewTint statusColor() const;

    friend bool operator==(const BatchReviewItem &, const BatchReviewItem &) = default;
};

/// The label of an image from its label or file: shared by the batch rows and the title.
QString sourceDisplayName(const std::optional<QString> &sourceLabel, const std::optional<QUrl> &sourceURL);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ReviewTint,
    {velmora::ReviewTint::orange, "orange"}, {velmora::ReviewTint::accent, "accent"},
    {velmora::ReviewTint::green, "green"}, {velmora::ReviewTint::secondary, "secondary"});
