#include "app/review/unsaved_manual_edits.h"

#include "app/review/review_controller.h"

namespace velmora {

UnsavedManualEdits::UnsavedManualEdits(ReviewController &review) : QObject(&review), m_review(review)
{
    connect(&review, &ReviewController::cleanedOutputShared, this, &UnsavedManualEdits::rememberShared);
}

std::optional<QString> UnsavedManualEdits::imageWithUnsavedEdits() const
{
    const ReviewState &state = m_review.state();
    for (const ReviewDocument &item : state.batch.items()) {
        // With every edit undone there is nothing of the user's to lose.
        if (!item.manualEditHistory().canUndo())
            continue;
        const auto shared = m_sharedBoxes.constFind(item.id());
        if (shared == m_sharedBoxes.constEnd() || *shared != item.redactionPlan().detections())
            return item.displayName();
    }
    return std::nullopt;
}

void UnsavedManualEdits::rememberShared(const QList<QUuid> &itemIDs)
{
    const ReviewState &state = m_review.state();
    for (const ReviewDocument &stored : state.batch.items()) {
        if (itemIDs.contains(stored.id()))
            m_sharedBoxes.insert(stored.id(), stored.redactionPlan().detections());
    }
}

} // namespace velmora
