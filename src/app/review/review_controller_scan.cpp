#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/future_watch.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/support/clock.h"
#include "core/support/log_categories.h"

namespace velmora {

using namespace std::chrono_literals;

namespace {
constexpr auto settingsRescanDelay = 650ms;
}

void ReviewController::startDetection()
{
    if (m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    cancelAndForget(m_state.customSettingsRescanTask);
    const QUuid runID = QUuid::createUuid();
    ScanRequest request{m_state.image(), SensitiveTextDetector(customDetectionConfiguration()),
                        m_state.redactionPlan().manualDetections(), manualDetectionStates(m_state.redactionPlan())};
    // The new identifier is taken before the old task is cancelled, so nothing the old
    // run still delivers can pass as current.
    m_state.detectionRunID = runID;
    cancelAndForget(m_state.detectionTask);
    setChecking(true);
    m_state.isManualEditing = false;
    m_state.isPreviewingRedactedOutput = false;
    m_state.redactedPreviewImage = QImage();
    m_state.setErrorText(std::nullopt);
    m_state.setReviewStatusNote(ReviewText::checking);
    const TaskHandle task;
    m_state.detectionTask = task;
    runDetectionTask(runID, task, std::move(request));
}

void ReviewController::runDetectionTask(const QUuid &runID, const TaskHandle &task, ScanRequest request)
{
    const QList<Detection> manualDetections = request.manualDetections;
    const QHash<QUuid, bool> manualActiveStates = request.manualActiveStates;
    scanImage(m_environment.scanEngine, this, std::move(request), [this] { return currentCategoryPreferences(); },
              task, [this, runID, task, manualDetections, manualActiveStates](const ScanOutcome &outcome) {
                  const auto *plan = std::get_if<ScannedPlan>(&outcome);
                  if (const auto *error = std::get_if<VelmoraCoreError>(&outcome)) {
                      handleDetectionFailure(runID, *error, manualDetections, manualActiveStates);
                  } else if (plan && !task.isCancelled()) {
                      applyDetectionResult(runID, *plan);
                  } else if (m_state.detectionRunID == runID) {
                      ChangeScope scope(*this);
                      markCurrentScanEnded();
                      setChecking(batchScansCurrentItem());
                      m_state.detectionTask.reset();
                  }
              });
}

void ReviewController::adoptScannedPlan(BatchReviewItem &item, const ScannedPlan &scanned)
{
    const RedactionPlan &plan = scanned.plan;
    item.redactionPlan = plan;
    if (!selectedEntry(plan, item.selectedDetectionID))
        item.selectedDetectionID.reset();
    const bool isOnScreen = isCurrentItem(item.id);
    item.reviewStatusNote = withSkippedPatternsNote(
        isOnScreen && m_state.isManualEditing ? ReviewText::drawManualRedaction : reviewHint(plan),
        scanned.customPatternsSkipped);
    if (isOnScreen)
        refreshOutputPreviewIfShown();
}

void ReviewController::adoptFailedScanPlan(BatchReviewItem &item, const RedactionPlan &plan)
{
    item.redactionPlan = plan;
    if (!selectedEntry(plan, item.selectedDetectionID))
        item.selectedDetectionID.reset();
    item.errorText = ReviewText::detectionFailed;
    item.reviewStatusNote = plan.entries().isEmpty() ? ReviewText::tryRescanOrDraw : ReviewText::reviewManualRedactions;
    if (!isCurrentItem(item.id))
        return;
    // The failure is the newest error of the window too.
    m_state.windowErrorText.reset();
    refreshOutputPreviewIfShown();
}

void ReviewController::applyDetectionResult(const QUuid &runID, const ScannedPlan &scanned)
{
    BatchReviewItem *item = m_state.currentItem();
    if (m_state.detectionRunID != runID || !item)
        return;
    ChangeScope scope(*this);
    m_state.detectionTask.reset();
    // The batch scan may still be working on it.
    item->isChecking = m_batchScan.isScanning(item->id);
    item->didScan = true;
    item->scanEnded = true;
    adoptScannedPlan(*item, scanned);
    postRescanCompleted();
}

void ReviewController::handleDetectionFailure(const QUuid &runID, VelmoraCoreError error,
                                              const QList<Detection> &manualDetections,
                                              const QHash<QUuid, bool> &manualActiveStates)
{
    BatchReviewItem *item = m_state.currentItem();
    if (m_state.detectionRunID != runID || !item)
        return;
    qCInfo(lcScan) << "Scan failed:" << rawValue(error);
    ChangeScope scope(*this);
    m_state.detectionTask.reset();
    // The batch scan may still be working on it.
    item->isChecking = m_batchScan.isScanning(item->id);
    item->scanEnded = true;
    adoptFailedScanPlan(*item, manualBoxesPlan(manualDetections, manualActiveStates));
    // A failed re-scan must not be announced by whichever run completes next.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
}

void ReviewController::cancelCurrentDetection()
{
    ChangeScope scope(*this);
    cancelAndForget(m_state.detectionTask);
    // The image on screen still reads as checking while the batch scan works on it.
    setChecking(batchScansCurrentItem());
    m_state.detectionRunID = QUuid::createUuid();
}

void ReviewController::cancelRunningScans()
{
    if (m_state.isExportingBatch)
        m_batchExport.cancel();
    if (!isScanRunning(m_state))
        return;
    ChangeScope scope(*this);
    // The items the batch scan was working on have had their scan; the queued ones stay queued.
    for (const QUuid &itemID : m_batchScan.itemsInFlight()) {
        if (BatchReviewItem *item = m_state.item(itemID)) {
            item->scanEnded = true;
            item->reviewStatusNote = ReviewText::detectionCanceled;
        }
    }
    const bool stopsCurrentImage = m_state.isChecking();
    cancelCurrentDetection();
    cancelBatchScan();
    if (stopsCurrentImage) {
        markCurrentScanEnded();
        m_state.setReviewStatusNote(ReviewText::detectionCanceled);
    }
}

void ReviewController::markCurrentScanEnded()
{
    if (BatchReviewItem *item = m_state.currentItem())
        item->scanEnded = true;
}

void ReviewController::postRescanCompleted()
{
    if (!m_state.shouldNotifyCustomSettingsRescanCompletion)
        return;
    ChangeScope scope(*this);
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
    emit customSettingsRescanCompleted();
}

void ReviewController::rescanAfterCustomSettingsChange()
{
    if (m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    if (m_state.customSettingsRescanTask)
        m_state.customSettingsRescanTask->cancel();
    m_state.shouldNotifyCustomSettingsRescanCompletion = true;
    m_state.setErrorText(std::nullopt);
    m_state.setReviewStatusNote(ReviewText::customSettingsChanged);
    // A later change cancels this one, so a burst gives one re-scan after its last change.
    m_state.customSettingsRescanTask =
        m_environment.clock.schedule(settingsRescanDelay, [this] { rescanCurrentReview(); });
}

void ReviewController::rescanCurrentReview()
{
    if (m_state.image().isNull())
        return;
    ChangeScope scope(*this);
    m_state.customSettingsRescanTask.reset();
    if (m_state.batchItems.size() < 2) {
        startDetection();
        return;
    }
    scanWholeBatch();
}

} // namespace velmora
