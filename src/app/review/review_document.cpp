#include "app/review/review_document.h"

#include "app/review/finding_queries.h"
#include "app/review/review_status_text.h"
#include "core/redaction/needs_review.h"
#include "core/text/unicode_text.h"

namespace velmora {

namespace {

const QString manualBoxLabel = QStringLiteral("Manual redaction");
const QString manualBoxReason = QStringLiteral("Added by the user.");

} // namespace

ReviewDocument ReviewDocument::make(std::optional<QUrl> sourceURL, std::optional<QString> sourceLabel,
                                    SafeShareSourceType sourceType, ReviewImageSource source, QString reviewStatusNote)
{
    ReviewDocument document;
    document.m_id = QUuid::createUuid();
    document.m_sourceURL = std::move(sourceURL);
    document.m_sourceLabel = std::move(sourceLabel);
    document.m_sourceType = sourceType;
    document.m_source = std::move(source);
    document.m_statusNote = std::move(reviewStatusNote);
    return document;
}

int ReviewDocument::needsReviewCount() const
{
    return needsReviewEntries(m_plan);
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

QString ReviewDocument::displayName() const
{
    return sourceDisplayName(m_sourceLabel, m_sourceURL);
}

QString ReviewDocument::statusText() const
{
    if (m_isChecking)
        return QStringLiteral("Scanning");
    if (m_errorText)
        return QStringLiteral("Needs attention");
    if (!m_didScan)
        return QStringLiteral("Queued");
    if (!hasFindings())
        return QStringLiteral("No findings");
    if (m_didReviewInBatch)
        return QStringLiteral("Reviewed");
    if (const int check = needsReviewCount(); check > 0)
        return QStringLiteral("%1 to check").arg(check);
    return QStringLiteral("%1 to redact").arg(activeEntryCount(m_plan));
}

QString ReviewDocument::statusSymbol() const
{
    if (m_isChecking)
        return QStringLiteral("hourglass");
    if (m_errorText)
        return QStringLiteral("exclamationmark.triangle");
    if (!m_didScan)
        return QStringLiteral("clock");
    if (!hasFindings() || m_didReviewInBatch)
        return QStringLiteral("checkmark.circle");
    if (needsReviewCount() > 0)
        return QStringLiteral("exclamationmark.circle");
    return QStringLiteral("checkmark.seal");
}

ReviewTint ReviewDocument::statusColor() const
{
    if (m_errorText || needsReviewCount() > 0)
        return ReviewTint::orange;
    if (m_isChecking)
        return ReviewTint::accent;
    if (m_didScan && !m_didReviewInBatch)
        return ReviewTint::green;
    return ReviewTint::secondary;
}

void ReviewDocument::setPlan(const RedactionPlan &plan)
{
    m_plan = plan;
    if (!selectedEntry(m_plan, m_selectedDetectionID))
        m_selectedDetectionID.reset();
}

void ReviewDocument::commitEdit(const RedactionPlan &plan)
{
    m_history.record(m_plan, plan);
    setPlan(plan);
}

bool ReviewDocument::select(const QUuid &detectionID)
{
    if (!selectedEntry(m_plan, detectionID))
        return false;
    m_selectedDetectionID = detectionID;
    return true;
}

void ReviewDocument::setFindingsActive(bool isActive, const QList<QUuid> &detectionIDs)
{
    for (const QUuid &id : detectionIDs)
        m_plan.setActive(isActive, id);
}

std::optional<QUuid> ReviewDocument::addManualBox(const NormRect &bounds)
{
    if (m_isChecking)
        return std::nullopt;
    RedactionPlan plan = m_plan;
    // The plan clamps the box to the image and refuses one under its smallest size.
    const std::optional<QUuid> id = plan.addManualRedaction(manualBoxLabel, manualBoxReason, bounds);
    if (!id)
        return std::nullopt;
    commitEdit(plan);
    m_selectedDetectionID = id;
    return id;
}

bool ReviewDocument::moveBox(const QUuid &detectionID, const NormRect &bounds)
{
    if (m_isChecking)
        return false;
    RedactionPlan plan = m_plan;
    if (!plan.updateBounds(detectionID, bounds))
        return false;
    if (!m_planBeforeDrag)
        m_planBeforeDrag = m_plan;
    setPlan(plan);
    return true;
}

bool ReviewDocument::finishBoxEdit()
{
    const std::optional<RedactionPlan> before = std::exchange(m_planBeforeDrag, std::nullopt);
    if (!before)
        return false;
    m_history.record(*before, m_plan);
    return true;
}

bool ReviewDocument::deleteSelectedManualBox()
{
    const std::optional<QUuid> id = selectedManualDetectionID(m_plan, m_selectedDetectionID);
    RedactionPlan plan = m_plan;
    if (!id || m_isChecking || !plan.removeEntry(*id))
        return false;
    commitEdit(plan);
    return true;
}

bool ReviewDocument::resetSelectedBounds()
{
    const std::optional<QUuid> id = selectedAdjustedDetectionID(m_plan, m_selectedDetectionID);
    RedactionPlan plan = m_plan;
    if (!id || m_isChecking || !plan.resetBounds(*id))
        return false;
    commitEdit(plan);
    return true;
}

bool ReviewDocument::applyEditStep(ManualEditStep step)
{
    if (m_isChecking)
        return false;
    RedactionPlan plan = m_plan;
    if (!(step == ManualEditStep::undo ? m_history.undo(plan) : m_history.redo(plan)))
        return false;
    setPlan(plan);
    return true;
}

void ReviewDocument::beginScan()
{
    m_isChecking = true;
    m_statusNote = ReviewText::checking;
}

void ReviewDocument::adoptOwnPlan(const RedactionPlan &plan, const std::optional<QUuid> &selection)
{
    m_plan = plan;
    m_selectedDetectionID = selectedEntry(plan, selection) ? selection : std::nullopt;
    m_didScan = true;
    m_scanEnded = true;
}

void ReviewDocument::adoptScan(const ScannedPlan &scanned, bool stillChecking, bool isDrawing)
{
    setPlan(scanned.plan);
    m_errorText.reset();
    m_didScan = true;
    endScan(stillChecking);
    m_statusNote = withSkippedPatternsNote(isDrawing ? ReviewText::drawManualRedaction : reviewHint(m_plan),
                                           scanned.customPatternsSkipped);
}

void ReviewDocument::adoptFailure(const RedactionPlan &manualBoxes, bool stillChecking)
{
    setPlan(manualBoxes);
    endScan(stillChecking);
    m_errorText = ReviewText::detectionFailed;
    m_statusNote = manualBoxes.entries().isEmpty() ? ReviewText::tryRescanOrDraw : ReviewText::reviewManualRedactions;
}

void ReviewDocument::endScan(bool stillChecking)
{
    m_scanEnded = true;
    m_isChecking = stillChecking;
}

void ReviewDocument::cancelScan()
{
    endScan(false);
    m_statusNote = ReviewText::detectionCanceled;
}

bool ReviewDocument::markReviewed()
{
    if (!m_didScan || !hasFindings() || m_didReviewInBatch)
        return false;
    m_didReviewInBatch = true;
    return true;
}

} // namespace velmora
