#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"

namespace velmora {

// One batch scan: its identifier, its task, the detector built when it started and
// the items it scans in order.
struct ReviewController::BatchRun
{
    QUuid runID;
    TaskHandle task;
    SensitiveTextDetector detector;
    QList<QUuid> itemIDs;
};

void ReviewController::loadBatch(QList<BatchReviewItem> items, const QString &statusSentence, int skippedCount,
                                 bool scan)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    cancelAndForget(m_state.customSettingsRescanTask);
    // A re-scan that the new batch replaces is never announced.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    cancelAndForget(m_state.completionBannerTask);
    m_state.completionBannerText.reset();
    m_state.completionBannerAction.reset();
    m_state.completionBannerSecondaryAction.reset();

    m_state.includesCleanBatchExports = true;
    m_state.batchFilter = BatchReviewFilter::all;
    m_state.skippedFilesNotice.reset();
    m_state.batchItems = std::move(items);
    m_state.selectedBatchItemID.reset();
    if (!m_state.batchItems.isEmpty()) {
        showBatchItem(m_state.batchItems.first());
        m_state.reviewStatusNote = statusSentence;
        if (skippedCount >= 1) {
            m_state.skippedFilesNotice = skippedFilesText(skippedCount);
            m_state.errorText = m_state.skippedFilesNotice;
        }
        syncCurrentItemToBatch();
    }
    if (scan) {
        QList<QUuid> ids;
        for (const BatchReviewItem &item : m_state.batchItems)
            ids.append(item.id);
        scanBatchItems(ids);
    }
}

void ReviewController::showImportFailure(VelmoraCoreError error)
{
    ChangeScope scope(*this);
    // The image on screen stays in review with its plan and history: only the failed
    // import is reported.
    if (m_state.image.isNull()) {
        cancelCurrentDetection();
        cancelBatchScan();
        m_state.redactionPlan = RedactionPlan::empty();
        m_state.selectedDetectionID.reset();
        m_state.manualEditHistory.clear();
    }
    m_state.errorText =
        error == VelmoraCoreError::unsupportedImageType ? ReviewText::unsupportedImage : ReviewText::unreadableImage;
    m_state.reviewStatusNote = ReviewText::tryAnotherImage;
}

void ReviewController::showBatchItem(const BatchReviewItem &item)
{
    ChangeScope scope(*this);
    m_state.selectedBatchItemID = item.id;
    m_state.image = item.importedImage.image;
    m_state.redactionPlan = item.redactionPlan;
    m_state.selectedDetectionID = item.selectedDetectionID;
    m_state.manualEditHistory = item.manualEditHistory;
    m_state.reviewStatusNote = item.reviewStatusNote;
    m_state.errorText = item.errorText;
    m_state.sourceImageURL = item.sourceURL;
    m_state.sourceDisplayLabel = item.sourceLabel;
    // An item that a batch scan is working on reads as checking while it is on screen,
    // so nothing can be shared from it before its result arrives.
    m_state.isChecking = item.isChecking;
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
    if (m_state.isChecking && m_state.detectionTask) {
        m_state.isChecking = false;
        m_state.reviewStatusNote = ReviewText::detectionCanceled;
        markCurrentScanEnded();
    }
    syncCurrentItemToBatch();
    cancelCurrentDetection();
    if (const BatchReviewItem *item = findItem(itemID)) {
        showBatchItem(*item);
        markBatchItemReviewed(itemID);
    }
}

void ReviewController::markBatchItemReviewed(const QUuid &itemID)
{
    BatchReviewItem *item = findItem(itemID);
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

void ReviewController::scanBatchItems(const QList<QUuid> &itemIDs)
{
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    m_state.batchRunID = QUuid::createUuid();
    const TaskHandle task;
    m_state.batchScanTask = task;
    scanNextBatchItem(std::make_shared<BatchRun>(BatchRun{m_state.batchRunID, task,
                                                          SensitiveTextDetector(customDetectionConfiguration()), itemIDs}),
                      0);
}

void ReviewController::scanNextBatchItem(const std::shared_ptr<BatchRun> &run, qsizetype index)
{
    if (m_state.batchRunID != run->runID)
        return;
    ChangeScope scope(*this);
    if (index >= run->itemIDs.size()) {
        m_state.batchScanTask.reset();
        postRescanCompleted();
        return;
    }
    BatchReviewItem *item = findItem(run->itemIDs.at(index));
    if (!item) {
        scanNextBatchItem(run, index + 1);
        return;
    }
    // The item's boxes are taken when its turn comes, so boxes drawn on a queued item
    // while earlier items were scanned are kept.
    const BatchScanInput input{item->id, item->importedImage.image, item->redactionPlan.manualDetections(),
                               manualDetectionStates(item->redactionPlan)};
    item->isChecking = true;
    item->reviewStatusNote = ReviewText::checking;
    m_batchScanItemID = item->id;
    if (isCurrentItem(item->id)) {
        m_state.isChecking = true;
        m_state.reviewStatusNote = ReviewText::checking;
    }
    scanImage(m_environment.scanEngine, this,
              ScanRequest{input.cgImage, run->detector, input.manualDetections, input.manualActiveStates},
              [this] { return currentCategoryPreferences(); }, run->task,
              [this, run, index, input](const ScanOutcome &outcome) {
                  if (m_state.batchRunID != run->runID)
                      return;
                  ChangeScope scope(*this);
                  m_batchScanItemID.reset();
                  if (const auto *plan = std::get_if<ScannedPlan>(&outcome))
                      applyBatchResult(input.id, *plan);
                  else if (std::holds_alternative<VelmoraCoreError>(outcome))
                      applyBatchFailure(input.id, manualBoxesPlan(input.manualDetections, input.manualActiveStates));
                  scanNextBatchItem(run, index + 1);
              });
}

void ReviewController::applyBatchResult(const QUuid &itemID, const ScannedPlan &scanned)
{
    BatchReviewItem *item = findItem(itemID);
    if (!item)
        return;
    const RedactionPlan &plan = scanned.plan;
    item->redactionPlan = plan;
    if (!selectedEntry(plan, item->selectedDetectionID))
        item->selectedDetectionID.reset();
    item->reviewStatusNote = withSkippedPatternsNote(reviewHint(plan), scanned.customPatternsSkipped);
    item->errorText.reset();
    item->isChecking = false;
    item->didScan = true;
    item->scanEnded = true;
    if (!isCurrentItem(itemID))
        return;
    // The image on screen takes the result as its live plan; a load's skipped-files
    // notice stays in the window's error line.
    if (m_state.errorText != m_state.skippedFilesNotice)
        m_state.errorText.reset();
    m_state.isChecking = m_state.detectionTask.has_value();
    adoptScannedPlan(scanned);
    syncCurrentItemToBatch();
}

void ReviewController::applyBatchFailure(const QUuid &itemID, const RedactionPlan &manualPlan)
{
    BatchReviewItem *item = findItem(itemID);
    if (!item)
        return;
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
    item->redactionPlan = manualPlan;
    if (!selectedEntry(manualPlan, item->selectedDetectionID))
        item->selectedDetectionID.reset();
    item->errorText = ReviewText::detectionFailed;
    item->reviewStatusNote =
        manualPlan.entries().isEmpty() ? ReviewText::tryRescanOrDraw : ReviewText::reviewManualRedactions;
    item->isChecking = false;
    item->scanEnded = true;
    if (!isCurrentItem(itemID))
        return;
    m_state.isChecking = m_state.detectionTask.has_value();
    adoptFailedScanPlan(manualPlan);
    syncCurrentItemToBatch();
}

void ReviewController::cancelBatchScan()
{
    ChangeScope scope(*this);
    cancelAndForget(m_state.batchScanTask);
    m_state.batchRunID = QUuid::createUuid();
    m_batchScanItemID.reset();
    // No item stays "Scanning": only a single-image run on the image on screen goes on.
    for (BatchReviewItem &item : m_state.batchItems) {
        if (!(isCurrentItem(item.id) && m_state.detectionTask))
            item.isChecking = false;
    }
    if (!m_state.detectionTask)
        m_state.isChecking = false;
    syncCurrentItemToBatch();
}

} // namespace velmora
