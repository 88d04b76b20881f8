#include "app/review/unsaved_manual_edits.h"

#include "app/review/review_controller.h"

namespace velmora {

namespace {

/// An item as it stands now: the image on screen carries its live plan and history.
BatchReviewItem currentFormOf(const BatchReviewItem &item, const ReviewState &state)
{
    if (state.selectedBatchItemID != item.id)
        return item;
    BatchReviewItem live = item;
    live.redactionPlan = state.redactionPlan;
    live.manualEditHistory = state.manualEditHistory;
    return live;
}

} // namespace

UnsavedManualEdits::UnsavedManualEdits(ReviewController &review) : QObject(&review), m_review(review)
{
    connect(&review, &ReviewController::cleanedOutputShared, this, &UnsavedManualEdits::rememberShared);
}

std::optional<QString> UnsavedManualEdits::imageWithUnsavedEdits() const
{
    const ReviewState &state = m_review.state();
    for (const BatchReviewItem &stored : state.batchItems) {
        const BatchReviewItem item = currentFormOf(stored, state);
        // With every edit undone there is nothing of the user's to lose.
        if (!item.manualEditHistory.canUndo())
            continue;
        const auto shared = m_sharedBoxes.constFind(item.id);
        if (shared == m_sharedBoxes.constEnd() || *shared != item.redactionPlan.detections())
            return item.displayName();
    }
    return std::nullopt;
}

void UnsavedManualEdits::rememberShared(const QList<QUuid> &itemIDs)
{
    const ReviewState &state = m_review.state();
    for (const BatchReviewItem &stored : state.batchItems) {
        if (itemIDs.contains(stored.id))
            m_sharedBoxes.insert(stored.id, currentFormOf(stored, state).redactionPlan.detections());
    }
}

} // namespace velmora
