#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"

namespace velmora {

void ReviewController::loadBatch(QList<BatchReviewItem> items, const QString &statusSentence, int skippedCount,
                                 bool scan)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    cancelAndForget(m_state.customSettingsRescanTask);
    // A re-scan that the new batch replaces is never announced.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    m_banner.clear();

    m_state.includesCleanBatchExports = true;
    m_state.batchFilter = BatchReviewFilter::all;
    m_state.windowErrorText.reset();
    m_state.batchItems = std::move(items);
    m_state.selectedBatchItemID.reset();
    if (!m_state.batchItems.isEmpty()) {
        showBatchItem(m_state.batchItems.first());
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

void ReviewController::showBatchItem(const BatchReviewItem &item)
{
    ChangeScope scope(*this);
    m_state.selectedBatchItemID = item.id;
    try {
        m_state.currentImage = m_images.image(item.id, item.source);
    } catch (const VelmoraCoreException &) {
        // The file changed or went away since it was imported.
        m_state.currentImage = QImage();
    }
    // The window's error line (a load's skipped files, say) goes with the image it was shown over.
    m_state.windowErrorText.reset();
    // A preview left on screen would show the previous image's output.
    refreshOutputPreviewIfShown();
    markBatchItemReviewed(item.id);
}

void ReviewController::selectBatchItem(const QUuid &itemID)
{
    if (isCurrentItem(itemID)) {
        markBatchItemReviewed(itemID);
        return;
    }
    ChangeScope scope(*this);
    // Only a scan of this image alone is cancelled by leaving it; an item that the batch
    // scan is working on keeps its turn, so its note must not say it was cancelled.
    if (m_state.isChecking() && m_state.detectionTask) {
        setChecking(false);
        m_state.setReviewStatusNote(ReviewText::detectionCanceled);
        markCurrentScanEnded();
    }
    cancelCurrentDetection();
    if (const BatchReviewItem *item = m_state.item(itemID)) {
        showBatchItem(*item);
        markBatchItemReviewed(itemID);
    }
}

void ReviewController::markBatchItemReviewed(const QUuid &itemID)
{
    BatchReviewItem *item = m_state.item(itemID);
    if (!item || !item->didScan || !item->hasFindings())
        return;
    ChangeScope scope(*this);
    item->didReviewInBatch = true;
}

void ReviewController::reselectAfterFilterChange()
{
    const QList<BatchReviewItem> visible = visibleBatchItems(m_state);
    if (visible.isEmpty())
        return;
    const bool selectedIsVisible = std::any_of(visible.begin(), visible.end(), [this](const BatchReviewItem &item) {
        return isCurrentItem(item.id);
    });
    if (!selectedIsVisible)
        selectBatchItem(visible.first().id);
}

void ReviewController::scanWholeBatch()
{
    QList<QUuid> ids;
    for (const BatchReviewItem &item : m_state.batchItems)
        ids.append(item.id);
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
        BatchReviewItem *item = m_state.item(itemID);
        if (!item)
            return std::nullopt;
        item->isChecking = true;
        item->reviewStatusNote = ReviewText::checking;
        if (isCurrentItem(itemID) && !m_state.currentImage.isNull())
            return m_state.currentImage;
        return item->source;
    };
    review.boxes = [this](const QUuid &itemID) -> std::optional<BatchScanBoxes> {
        const BatchReviewItem *item = m_state.item(itemID);
        if (!item)
            return std::nullopt;
        return BatchScanBoxes{item->redactionPlan.manualDetections(), manualDetectionStates(item->redactionPlan)};
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
    return m_state.selectedBatchItemID && m_batchScan.isScanning(*m_state.selectedBatchItemID);
}

void ReviewController::applyBatchResult(const QUuid &itemID, const ScannedPlan &scanned)
{
    BatchReviewItem *item = m_state.item(itemID);
    if (!item)
        return;
    // A load's skipped-files notice is the window's and stays.
    item->errorText.reset();
    item->didScan = true;
    item->scanEnded = true;
    // A single-image run on the image on screen goes on.
    item->isChecking = isCurrentItem(itemID) && m_state.detectionTask.has_value();
    adoptScannedPlan(*item, scanned);
}

void ReviewController::applyBatchFailure(const QUuid &itemID, const RedactionPlan &manualPlan)
{
    BatchReviewItem *item = m_state.item(itemID);
    if (!item)
        return;
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
    item->scanEnded = true;
    item->isChecking = isCurrentItem(itemID) && m_state.detectionTask.has_value();
    adoptFailedScanPlan(*item, manualPlan);
}

void ReviewController::cancelBatchScan()
{
    ChangeScope scope(*this);
    m_batchScan.cancel();
    // No item stays "Scanning": only a single-image run on the image on screen goes on.
    for (BatchReviewItem &item : m_state.batchItems) {
        if (!(isCurrentItem(item.id) && m_state.detectionTask))
            item.isChecking = false;
    }
}

} // namespace velmora
