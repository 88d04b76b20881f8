#pragma once

#include "app/review/review_image_source.h"
#include "core/analysis/scan/scan_run.h"
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

/// A step back or forth through the manual edits of one image.
enum class ManualEditStep { undo, redo };

// One image under review and the only home of its review state: its plan, the finding
// selected in it, the undo history of its box edits, its status line and where its scan
// stands. Every change goes through the operations below, which keep the rules in one
// place: the selection always names an entry of the plan, box edits wait while the image
// is scanned, and an ended scan decides whether the image may leave the application.
// The operations that can refuse say whether they changed anything. A plain value: the
// batch holds one per image, and a single opened image is a batch of one.
class ReviewDocument
{
public:
    /// A document with a new id, the empty plan and a fresh history, neither scanned nor checking.
    static ReviewDocument make(std::optional<QUrl> sourceURL, std::optional<QString> sourceLabel,
                               SafeShareSourceType sourceType, ReviewImageSource source, QString reviewStatusNote);

    const QUuid &id() const { return m_id; }
    /// The file it was read from, which names it.
    const std::optional<QUrl> &sourceURL() const { return m_sourceURL; }
    /// Given by the intake path in place of a file name.
    const std::optional<QString> &sourceLabel() const { return m_sourceLabel; }
    SafeShareSourceType sourceType() const { return m_sourceType; }
    /// Its pixels, decoded on demand.
    const ReviewImageSource &source() const { return m_source; }
    const RedactionPlan &redactionPlan() const { return m_plan; }
    const std::optional<QUuid> &selectedDetectionID() const { return m_selectedDetectionID; }
    const ManualRedactionEditHistory &manualEditHistory() const { return m_history; }
    const QString &reviewStatusNote() const { return m_statusNote; }
    /// Set when its scan failed, or by the last copy or export of it that failed.
    const std::optional<QString> &errorText() const { return m_errorText; }
    /// A scan of this image runs.
    bool isChecking() const { return m_isChecking; }
    /// A scan of this image has finished with a plan.
    bool didScan() const { return m_didScan; }
    /// A scan ended on it (with a plan, a failure or a cancel), or it came with a plan of
    /// its own: only then may it leave the application.
    bool scanEnded() const { return m_scanEnded; }
    /// Looked at in the batch after it was scanned.
    bool didReviewInBatch() const { return m_didReviewInBatch; }

    int needsReviewCount() const;
    bool hasFindings() const { return !m_plan.entries().isEmpty(); }
    /// Scanned, without findings and without an error.
    bool isClean() const { return m_didScan && !hasFindings() && !m_errorText; }
    /// Its scan has ended and no other runs: it may be copied or exported.
    bool canShare() const { return m_scanEnded && !m_isChecking; }

    /// The label, else the file name (trimmed; "Image" when blank), else "Clipboard image".
    QString displayName() const;
    /// "Scanning", "Needs attention", "Queued", "No findings", "Reviewed", "n to check", "n to redact".
    QString statusText() const;
    /// The symbol name of the row's status.
    QString statusSymbol() const;
    /// The tint of the row's status; the error and needs-review tests come first.
    ReviewTint statusColor() const;

    // The status and error lines while it is on screen.
    void setReviewStatusNote(const QString &note) { m_statusNote = note; }
    void setErrorText(const std::optional<QString> &text) { m_errorText = text; }

    // Selection and inclusion. Inclusion changes are never recorded in the edit history.
    /// Selects the finding; false when the plan holds none with that id.
    bool select(const QUuid &detectionID);
    void clearSelection() { m_selectedDetectionID.reset(); }
    void setFindingsActive(bool isActive, const QList<QUuid> &detectionIDs);

    // Box edits, each one undo step; all of them wait while the image is scanned.
    /// Adds the user's box (clamped to the image) and selects it; nothing under the
    /// smallest size.
    std::optional<QUuid> addManualBox(const NormRect &bounds);
    /// One step of a move or resize drag: the plan changes at once, the undo step is
    /// recorded by `finishBoxEdit` for the whole drag.
    bool moveBox(const QUuid &detectionID, const NormRect &bounds);
    /// Ends a drag; false when none was under way.
    bool finishBoxEdit();
    bool deleteSelectedManualBox();
    /// Puts the selected box the user moved or resized back to its detected bounds.
    bool resetSelectedBounds();
    bool applyEditStep(ManualEditStep step);

    // The scan. `stillChecking` says whether another scan of the image goes on.
    /// A scan of it starts.
    void beginScan();
    void setChecking(bool isChecking) { m_isChecking = isChecking; }
    /// Opened with a plan of its own and the finding selected in it: it counts as
    /// scanned, and its boxes can be shared as they are.
    void adoptOwnPlan(const RedactionPlan &plan, const std::optional<QUuid> &selection);
    /// The scan's plan becomes its own and clears an earlier failure; while the user
    /// draws, the status says how to draw.
    void adoptScan(const ScannedPlan &scanned, bool stillChecking, bool isDrawing);
    /// The scan failed: the manual boxes remain, with the failure sentences.
    void adoptFailure(const RedactionPlan &manualBoxes, bool stillChecking);
    /// Its scan stopped without a result; its plan stays.
    void endScan(bool stillChecking);
    /// The scan running on it was cancelled, and its status says so.
    void cancelScan();
    /// Marks it reviewed when it was scanned and holds findings; false otherwise.
    bool markReviewed();

    friend bool operator==(const ReviewDocument &, const ReviewDocument &) = default;

private:
    /// Every plan change goes through here: a selection of an entry gone is dropped.
    void setPlan(const RedactionPlan &plan);
    /// A box edit: the plan becomes `plan` and the history records the step.
    void commitEdit(const RedactionPlan &plan);

    QUuid m_id;
    std::optional<QUrl> m_sourceURL;
    std::optional<QString> m_sourceLabel;
    SafeShareSourceType m_sourceType = SafeShareSourceType::unknown;
    ReviewImageSource m_source;
    RedactionPlan m_plan;
    std::optional<QUuid> m_selectedDetectionID;
    ManualRedactionEditHistory m_history;
    /// The plan when the running move or resize drag began.
    std::optional<RedactionPlan> m_planBeforeDrag;
    QString m_statusNote;
    std::optional<QString> m_errorText;
    bool m_isChecking = false;
    bool m_didScan = false;
    bool m_scanEnded = false;
    bool m_didReviewInBatch = false;
};

/// The label of an image from its label or file: shared by the batch rows and the title.
QString sourceDisplayName(const std::optional<QString> &sourceLabel, const std::optional<QUrl> &sourceURL);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::ReviewTint,
    {velmora::ReviewTint::orange, "orange"}, {velmora::ReviewTint::accent, "accent"},
    {velmora::ReviewTint::green, "green"}, {velmora::ReviewTint::secondary, "secondary"});
