#include "app/review/review_state.h"

#include <algorithm>

namespace velmora {

namespace {

const ManualRedactionEditHistory noHistory;

} // namespace

const BatchReviewItem *ReviewState::item(const QUuid &itemID) const
{
    const auto found = std::find_if(batchItems.begin(), batchItems.end(),
                                    [&itemID](const BatchReviewItem &item) { return item.id == itemID; });
    return found == batchItems.end() ? nullptr : &*found;
}

BatchReviewItem *ReviewState::item(const QUuid &itemID)
{
    return const_cast<BatchReviewItem *>(std::as_const(*this).item(itemID));
}

const BatchReviewItem *ReviewState::currentItem() const
{
    return selectedBatchItemID ? item(*selectedBatchItemID) : nullptr;
}

BatchReviewItem *ReviewState::currentItem()
{
    return const_cast<BatchReviewItem *>(std::as_const(*this).currentItem());
}

QImage ReviewState::image() const
{
    return currentItem() ? currentImage : QImage();
}

const RedactionPlan &ReviewState::redactionPlan() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->redactionPlan : RedactionPlan::empty();
}

std::optional<QUuid> ReviewState::selectedDetectionID() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->selectedDetectionID : std::nullopt;
}

const ManualRedactionEditHistory &ReviewState::manualEditHistory() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->manualEditHistory : noHistory;
}

bool ReviewState::isChecking() const
{
    const BatchReviewItem *item = currentItem();
    return item && item->isChecking;
}

const QString &ReviewState::reviewStatusNote() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->reviewStatusNote : idleStatusNote;
}

std::optional<QString> ReviewState::errorText() const
{
    const BatchReviewItem *item = currentItem();
    if (windowErrorText || !item)
        return windowErrorText;
    return item->errorText;
}

std::optional<QUrl> ReviewState::sourceImageURL() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->sourceURL : std::nullopt;
}

std::optional<QString> ReviewState::sourceDisplayLabel() const
{
    const BatchReviewItem *item = currentItem();
    return item ? item->sourceLabel : std::nullopt;
}

void ReviewState::setReviewStatusNote(const QString &note)
{
    if (BatchReviewItem *item = currentItem())
        item->reviewStatusNote = note;
    else
        idleStatusNote = note;
}

void ReviewState::setErrorText(const std::optional<QString> &text)
{
    BatchReviewItem *item = currentItem();
    windowErrorText = item ? std::nullopt : text;
    if (item)
        item->errorText = text;
}

} // namespace velmora
