#include "app/review/review_state.h"

namespace velmora {

namespace {

const ManualRedactionEditHistory noHistory;

} // namespace

QImage ReviewState::image() const
{
    return batch.current() ? screen.bitmap() : QImage();
}

bool ReviewState::hasImageOnScreen() const
{
    return batch.current() && (screen.isLoading() || !screen.bitmap().isNull());
}

const RedactionPlan &ReviewState::redactionPlan() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->redactionPlan() : RedactionPlan::empty();
}

std::optional<QUuid> ReviewState::selectedDetectionID() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->selectedDetectionID() : std::nullopt;
}

const ManualRedactionEditHistory &ReviewState::manualEditHistory() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->manualEditHistory() : noHistory;
}

bool ReviewState::isChecking() const
{
    const ReviewDocument *document = batch.current();
    return document && document->isChecking();
}

const QString &ReviewState::reviewStatusNote() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->reviewStatusNote() : idleStatusNote;
}

std::optional<QString> ReviewState::errorText() const
{
    const ReviewDocument *document = batch.current();
    if (windowErrorText || !document)
        return windowErrorText;
    return document->errorText();
}

std::optional<QUrl> ReviewState::sourceImageURL() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->sourceURL() : std::nullopt;
}

std::optional<QString> ReviewState::sourceDisplayLabel() const
{
    const ReviewDocument *document = batch.current();
    return document ? document->sourceLabel() : std::nullopt;
}

void ReviewState::setReviewStatusNote(const QString &note)
{
    if (ReviewDocument *document = batch.current())
        document->setReviewStatusNote(note);
    else
        idleStatusNote = note;
}

void ReviewState::setErrorText(const std::optional<QString> &text)
{
    ReviewDocument *document = batch.current();
    windowErrorText = document ? std::nullopt : text;
    if (document)
        document->setErrorText(text);
}

} // namespace velmora
