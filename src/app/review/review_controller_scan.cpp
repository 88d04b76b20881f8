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
    m_state.batch.current()->beginScan();
    m_state.screen.setMode(CanvasMode::reviewing);
    m_state.setErrorText(std::nullopt);
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
                      if (ReviewDocument *document = m_state.batch.current())
                          document->endScan(batchScansCurrentItem());
                      m_state.detectionTask.reset();
                  }
              });
}

void ReviewController::applyDetectionResult(const QUuid &runID, const ScannedPlan &scanned)
{
    ReviewDocument *document = m_state.batch.current();
    if (m_state.detectionRunID != runID || !document)
        return;
    ChangeScope scope(*this);
    m_state.detectionTask.reset();
    // The batch scan may still be working on it.
    adoptScan(*document, scanned, m_batchScan.isScanning(document->id()));
    postRescanCompleted();
}

void ReviewController::handleDetectionFailure(const QUuid &runID, VelmoraCoreError error,
                                              const QList<Detection> &manualDetections,
                                              const QHash<QUuid, bool> &manualActiveStates)
{
    ReviewDocument *document = m_state.batch.current();
    if (m_state.detectionRunID != runID || !document)
        return;
    qCInfo(lcScan) << "Scan failed:" << rawValue(error);
    ChangeScope scope(*this);
    m_state.detectionTask.reset();
    // The batch scan may still be working on it.
    adoptFailure(*document, manualBoxesPlan(manualDetections, manualActiveStates),
                 m_batchScan.isScanning(document->id()));
    // A failed re-scan must not be announced by whichever run completes next.
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;
}

void ReviewController::adoptScan(ReviewDocument &document, const ScannedPlan &scanned, bool stillChecking)
{
    const bool isOnScreen = m_state.batch.isCurrent(document.id());
    document.adoptScan(scanned, stillChecking, isOnScreen && m_state.screen.mode() == CanvasMode::drawing);
    if (isOnScreen)
        refreshOutputPreviewIfShown();
}

void ReviewController::adoptFailure(ReviewDocument &document, const RedactionPlan &manualBoxes, bool stillChecking)
{
    document.adoptFailure(manualBoxes, stillChecking);
    if (!m_state.batch.isCurrent(document.id()))
        return;
    // The failure is the newest error of the window too.
    m_state.windowErrorText.reset();
    refreshOutputPreviewIfShown();
}

void ReviewController::cancelCurrentDetection()
{
    ChangeScope scope(*this);
    cancelAndForget(m_state.detectionTask);
    // The image on screen still reads as checking while the batch scan works on it.
    if (ReviewDocument *document = m_state.batch.current())
        document->setChecking(batchScansCurrentItem());
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
    const bool stopsCurrentImage = m_state.isChecking();
    for (const QUuid &itemID : m_batchScan.itemsInFlight()) {
        if (ReviewDocument *document = m_state.batch.document(itemID))
            document->cancelScan();
    }
    cancelCurrentDetection();
    cancelBatchScan();
    if (stopsCurrentImage)
        m_state.batch.current()->cancelScan();
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
    if (!m_state.hasImageOnScreen())
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
    if (!m_state.hasImageOnScreen())
        return;
    ChangeScope scope(*this);
    m_state.customSettingsRescanTask.reset();
    if (m_state.batch.items().size() < 2) {
        startDetection();
        return;
    }
    scanWholeBatch();
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
        // The bitmap on screen, unless it is still on its way.
        if (m_state.batch.isCurrent(itemID) && !m_state.image().isNull())
            return m_state.image();
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
