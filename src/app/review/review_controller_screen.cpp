#include "app/review/review_controller.h"

#include "app/review/review_controller_private.h"
#include "app/review/review_status_text.h"

namespace velmora {
namespace {

const QString previewingOutput = QStringLiteral("Previewing the exact flattened output for copy and export.");

} // namespace

void ReviewController::showBatchItem(const ReviewDocument &item)
{
    ChangeScope scope(*this);
    const QUuid id = item.id();
    m_state.batch.select(id);
    const ScreenBitmap kept = m_screenImages.bitmap(id, item.source(), [this](const QUuid &itemID, const ScreenBitmap &bitmap) {
        takeBitmap(itemID, bitmap);
    });
    if (kept.isNull())
        m_state.screen.await(id);
    else
        m_state.screen.show(id, kept);
    // The window's error line (a load's skipped files, say) goes with the image it was shown over.
    m_state.windowErrorText.reset();
    // A preview left on screen would show the previous image's output.
    refreshOutputPreviewIfShown();
    if (ReviewDocument *shown = m_state.batch.document(id))
        shown->markReviewed();
}

void ReviewController::takeBitmap(const QUuid &itemID, const ScreenBitmap &bitmap)
{
    // An item the user has stepped past is no longer awaited.
    if (!m_state.screen.arrive(itemID, bitmap))
        return;
    ChangeScope scope(*this);
    if (bitmap.isNull())
        showUnreadableBitmap();
    else
        refreshOutputPreviewIfShown();
}

void ReviewController::showUnreadableBitmap()
{
    const ReviewDocument *item = m_state.batch.current();
    if (!item)
        return;
    ChangeScope scope(*this);
    // The canvas stays empty: it must not do so without a word.
    m_state.setErrorText(ReviewText::unreadableImage);
    m_state.setReviewStatusNote(item->source().filePath() ? ReviewText::fileUnreadableSinceOpened
                                                          : ReviewText::tryAnotherImage);
}

void ReviewController::refreshOutputPreviewIfShown()
{
    const QList<Detection> boxes = m_state.redactionPlan().activeDetections();
    if (!m_state.batch.current() || !m_state.screen.needsPreview(boxes))
        return;
    ChangeScope scope(*this);
    m_state.screen.awaitPreview(boxes);
    m_screenImages.renderPreview(m_state.screen.screenBitmap(), boxes,
                                 [this, itemID = *m_state.batch.selectedID(), boxes](const QImage &preview) {
                                     takePreview(itemID, boxes, preview);
                                 });
}

void ReviewController::takePreview(const QUuid &itemID, const QList<Detection> &boxes, const QImage &preview)
{
    // A preview of boxes changed since, of an image stepped past or of a preview closed is dropped.
    if (!m_state.screen.arrivePreview(itemID, boxes, preview))
        return;
    ChangeScope scope(*this);
    if (preview.isNull()) {
        m_state.setErrorText(ReviewText::previewFailed);
        m_state.setReviewStatusNote(ReviewText::previewUnavailable);
    }
}

void ReviewController::setManualEditing(bool isOn)
{
    ChangeScope scope(*this);
    // Boxes are drawn over the bitmap itself: not over the one before while it is on its way.
    if (m_state.image().isNull() || m_state.isChecking()) {
        m_state.screen.endDrawing();
        return;
    }
    if (isOn)
        m_state.screen.setMode(CanvasMode::drawing);
    else
        m_state.screen.endDrawing();
    m_state.setErrorText(std::nullopt);
    if (isOn)
        m_state.setReviewStatusNote(ReviewText::drawManualRedaction);
    else
        refreshStatusSummary();
}

void ReviewController::setOutputPreview(bool on)
{
    ChangeScope scope(*this);
    if (!m_state.hasImageOnScreen()) {
        m_state.screen.setMode(CanvasMode::reviewing);
        return;
    }
    m_state.screen.setMode(on ? CanvasMode::previewing : CanvasMode::reviewing);
    if (on) {
        refreshOutputPreviewIfShown();
        m_state.setReviewStatusNote(previewingOutput);
    } else {
        refreshStatusSummary();
    }
}

} // namespace velmora
