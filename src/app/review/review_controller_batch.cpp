#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"

namespace velmora {

void ReviewController::loadBatch(QList<ReviewDocument> items, const QString &statusSentence, int skippedCount,
                                 bool scan)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    cancelAndForget(m_state.customSettingsRescanTask);
    // A re-scan that the new batch replaces is never announced.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    m_banner.clear();

    m_state.windowErrorText.reset();
    m_state.batch.replace(std::move(items));
    if (!m_state.batch.items().isEmpty()) {
        showBatchItem(m_state.batch.items().first());
        m_state.setReviewStatusNote(statusSentence);
        if (skippedCount >= 1)
            m_state.windowErrorText = skippedFilesText(skippedCount);
    }
    if (scan)
        scanWholeBatch();
}

void ReviewController::showImportFailure(VelmoraCoreError error)
{
    ChangeScope scope(*this);
    // The image on screen stays in review with its plan and history: only the failed
    // import is reported.
    if (m_state.image().isNull()) {
        cancelCurrentDetection();
        cancelBatchScan();
    }
    // The failure is the window's: the image on screen did nothing wrong.
    m_state.windowErrorText =
        error == VelmoraCoreError::unsupportedImageType ? ReviewText::unsupportedImage : ReviewText::unreadableImage;
    m_state.setReviewStatusNote(ReviewText::tryAnotherImage);
}

void ReviewController::showBatchItem(const ReviewDocument &item)
{
    ChangeScope scope(*this);
    const QUuid id = item.id();
    m_state.batch.select(id);
    try {
        m_state.currentImage = m_images.image(id, item.source());
    } catch (const VelmoraCoreException &) {
        // The file changed or went away since it was imported.
        m_state.currentImage = QImage();
    }
    // The window's error line (a load's skipped files, say) goes with the image it was shown over.
    m_state.windowErrorText.reset();
    // A preview left on screen would show the previous image's output.
    refreshOutputPreviewIfShown();
    if (ReviewDocument *shown = m_state.batch.document(id))
        shown->markReviewed();
}

void ReviewController::selectBatchItem(const QUuid &itemID)
{
    if (m_state.batch.isCurrent(itemID)) {
        if (m_state.batch.current()->markReviewed())
            ChangeScope scope(*this);
        return;
    }
    ChangeScope scope(*this);
    // Only a scan of this image alone is cancelled by leaving it; an item that the batch
    // scan is working on keeps its turn, so its note must not say it was cancelled.
    if (m_state.isChecking() && m_state.detectionTask)
        m_state.batch.current()->cancelScan();
    cancelCurrentDetection();
    if (const ReviewDocument *item = m_state.batch.document(itemID))
        showBatchItem(*item);
}

void ReviewController::reselectAfterFilterChange()
{
    if (const std::optional<QUuid> shown = m_state.batch.firstVisibleIfSelectionHidden())
        selectBatchItem(*shown);
}

void ReviewController::scanWholeBatch()
{
    QList<QUuid> ids;
    for (const ReviewDocument &item : m_state.batch.items())
        ids.append(item.id());
    scanBatchItems(ids);
}

void ReviewController::scanBatchItems(const QList<QUuid> &itemIDs)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    m_batchScan.start(itemIDs, SensitiveTextDetector(customDetectionConfiguration()));
}

BatchScanReview ReviewController::batchScanReview()
{
    BatchScanReview review;
    review.startItem = [this](const QUuid &itemID) -> std::optional<BatchScanPixels> {
        ReviewDocument *item = m_state.batch.document(itemID);
        if (!item)
            return std::nullopt;
        item->beginScan();
        if (m_state.batch.isCurrent(itemID) && !m_state.currentImage.isNull())
            return m_state.currentImage;
        return item->source();
    };
    review.boxes = [this](const QUuid &itemID) -> std::optional<BatchScanBoxes> {
        const ReviewDocument *item = m_state.batch.document(itemID);
        if (!item)
            return std::nullopt;
        const RedactionPlan &plan = item->redactionPlan();
        return BatchScanBoxes{plan.manualDetections(), manualDetectionStates(plan)};
    };
    review.finishItem = [this](const QUuid &itemID, const ScanOutcome &outcome, const BatchScanBoxes &boxes) {
        if (const auto *plan = std::get_if<ScannedPlan>(&outcome))
            applyBatchResult(itemID, *plan);
        else if (std::holds_alternative<VelmoraCoreError>(outcome))
            applyBatchFailure(itemID, manualBoxesPlan(boxes.detections, boxes.activeStates));
    };
    review.finished = [this] { postRescanCompleted(); };
    review.preferences = [this] { return currentCategoryPreferences(); };
    review.asOneChange = [this](const std::function<void()> &step) {
        ChangeScope scope(*this);
        step();
    };
    return review;
}

bool ReviewController::batchScansCurrentItem() const
{
    return m_state.batch.selectedID() && m_batchScan.isScanning(*m_state.batch.selectedID());
}

bool ReviewController::runsSingleScanOn(const QUuid &itemID) const
{
    return m_state.batch.isCurrent(itemID) && m_state.detectionTask.has_value();
}

void ReviewController::applyBatchResult(const QUuid &itemID, const ScannedPlan &scanned)
{
    // A load's skipped-files notice is the window's and stays.
    if (ReviewDocument *item = m_state.batch.document(itemID))
        adoptScan(*item, scanned, runsSingleScanOn(itemID));
}

void ReviewController::applyBatchFailure(const QUuid &itemID, const RedactionPlan &manualPlan)
{
    ReviewDocument *item = m_state.batch.document(itemID);
    if (!item)
        return;
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
    adoptFailure(*item, manualPlan, runsSingleScanOn(itemID));
}

void ReviewController::cancelBatchScan()
{
    ChangeScope scope(*this);
    m_batchScan.cancel();
    // No item stays "Scanning": only a single-image run on the image on screen goes on.
    m_state.batch.forEach([this](ReviewDocument &item) {
        if (!runsSingleScanOn(item.id()))
            item.setChecking(false);
    });
}

} // namespace velmora
