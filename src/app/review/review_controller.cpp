#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

namespace velmora {
ReviewController::ReviewController(ReviewEnvironment environment, QObject *parent)
    : QObject(parent), m_environment(environment), m_banner(environment.clock, [this] { ChangeScope scope(*this); }),
      m_batchScan(environment.scanEngine, batchScanReview()),
      m_fileImport(environment.scanEngine.concurrentScans())
{
    m_state.detectionSettings = DetectionSettingsValues::load(m_environment.settings);
    connect(&m_environment.settings, &StoredSettings::changed, this, &ReviewController::onStoredSettingChanged);
    connect(&m_environment.autoCleanUndo, &AutoCleanUndoCoordinator::tokenChanged, this,
            &ReviewController::followAutoCleanUndo);
}

ReviewController::~ReviewController()
{
    // Delayed work holds no reference to the controller once its handles are cancelled,
    // and a running capture ends its tool.
    for (const auto *task : {&m_state.customSettingsRescanTask, &m_state.captureTask}) {
        if (*task)
            (*task)->cancel();
    }
}

void ReviewController::onStoredSettingChanged(const QString &key)
{
    if (!isDetectionSettingKey(key))
        return;
    const DetectionSettingsValues before = m_state.detectionSettings;
    reloadDetectionSettings();
    // The allowlist and the category choices are edited from the findings panel too;
    // a real change of either re-scans what is on screen.
    const DetectionSettingsValues &after = m_state.detectionSettings;
    if (before.allowlistText != after.allowlistText
        || before.detectorCategoryPreferencesData != after.detectorCategoryPreferencesData)
        rescanAfterCustomSettingsChange();
}

void ReviewController::applyCustomDetectionSettings(const std::optional<DetectionSettingsValues> &values)
{
    ChangeScope scope(*this);
    if (values)
        m_state.detectionSettings = *values;
    else
        reloadDetectionSettings();
    rescanAfterCustomSettingsChange();
}

void ReviewController::reloadDetectionSettings()
{
    ChangeScope scope(*this);
    m_state.detectionSettings = DetectionSettingsValues::load(m_environment.settings);
}

CustomDetectionConfiguration ReviewController::customDetectionConfiguration() const
{
    return m_state.detectionSettings.customDetectionConfiguration();
}

DetectorCategoryPreferences ReviewController::currentCategoryPreferences() const
{
    return decodeDetectorCategoryPreferences(m_state.detectionSettings.detectorCategoryPreferencesData);
}

QString ReviewController::policySourceLabel() const
{
    return velmora::policySourceLabel(m_environment.settings.value(Setting::policySourceID),
                                      m_state.detectionSettings.policyPresetID);
}

void ReviewController::refreshStatusSummary()
{
    ChangeScope scope(*this);
    const bool isDrawing = m_state.screen.mode() == CanvasMode::drawing;
    m_state.setReviewStatusNote(isDrawing ? ReviewText::drawManualRedaction : reviewHint(m_state.redactionPlan()));
}

void ReviewController::refreshAfterPlanChange()
{
    ChangeScope scope(*this);
    refreshStatusSummary();
    refreshOutputPreviewIfShown();
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

void ReviewController::selectBatchFilter(BatchReviewFilter filter)
{
    ChangeScope scope(*this);
    m_state.batch.setFilter(filter);
    reselectAfterFilterChange();
}

void ReviewController::selectBatchCategory(std::optional<FindingCategory> category)
{
    ChangeScope scope(*this);
    m_state.batch.setCategoryFilter(category);
    reselectAfterFilterChange();
}

void ReviewController::reselectAfterFilterChange()
{
    if (const std::optional<QUuid> shown = m_state.batch.firstVisibleIfSelectionHidden())
        selectBatchItem(*shown);
}

void ReviewController::selectAdjacentBatchItem(int step)
{
    if (const std::optional<QUuid> next = m_state.batch.adjacentVisibleItem(step))
        selectBatchItem(*next);
}

} // namespace velmora
