#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"
#include "core/redaction/redaction_renderer.h"
#include "core/settings/stored_settings.h"
#include "core/support/clock.h"

#include <QColor>

namespace velmora {

ReviewController::ReviewController(ReviewEnvironment environment, QObject *parent)
    : QObject(parent), m_environment(environment), m_banner(environment.clock, [this] { ChangeScope scope(*this); }),
      m_batchScan(environment.scanEngine, batchScanReview())
{
    m_state.detectionSettings = DetectionSettingsValues::load(m_environment.settings);
    connect(&m_environment.settings, &StoredSettings::changed, this, &ReviewController::onStoredSettingChanged);
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

void ReviewController::selectDetection(const QUuid &detectionID)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->select(detectionID))
        return;
    ChangeScope scope(*this);
    m_state.isManualEditing = false;
    refreshStatusSummary();
}

void ReviewController::refreshStatusSummary()
{
    ChangeScope scope(*this);
    m_state.setReviewStatusNote(m_state.isManualEditing ? ReviewText::drawManualRedaction : reviewHint(m_state.redactionPlan()));
}

void ReviewController::refreshOutputPreview()
{
    ChangeScope scope(*this);
    if (m_state.image().isNull()) {
        m_state.redactedPreviewImage = QImage();
        return;
    }
    try {
        m_state.redactedPreviewImage =
            RedactionRenderer::renderImage(m_state.redactionPlan().activeDetections(), m_state.image(), QColor(Qt::black));
    } catch (const VelmoraCoreException &) {
        m_state.redactedPreviewImage = QImage();
        m_state.setErrorText(ReviewText::previewFailed);
        m_state.setReviewStatusNote(ReviewText::previewUnavailable);
    }
}

void ReviewController::refreshOutputPreviewIfShown()
{
    if (m_state.isPreviewingRedactedOutput)
        refreshOutputPreview();
}

CustomDetectionConfiguration ReviewController::customDetectionConfiguration() const
{
    return m_state.detectionSettings.customDetectionConfiguration();
}

DetectorCategoryPreferences ReviewController::currentCategoryPreferences() const
{
    return decodeDetectorCategoryPreferences(m_state.detectionSettings.detectorCategoryPreferencesData);
}

void ReviewController::saveDetectionSettings()
{
    ChangeScope scope(*this);
    m_state.detectionSettings = DetectionSettingsValues::load(m_environment.settings);
}

void ReviewController::onStoredSettingChanged(const QString &key)
{
    if (!isDetectionSettingKey(key))
        return;
    const DetectionSettingsValues before = m_state.detectionSettings;
    saveDetectionSettings();
    // The allowlist and the category choices are edited from the findings panel too;
    // a real change of either re-scans what is on screen.
    const DetectionSettingsValues &after = m_state.detectionSettings;
    if (before.allowlistText != after.allowlistText
        || before.detectorCategoryPreferencesData != after.detectorCategoryPreferencesData)
        rescanAfterCustomSettingsChange();
}

QString ReviewController::policySourceLabel() const
{
    return velmora::policySourceLabel(m_environment.settings.value(Setting::policySourceID),
                                      m_state.detectionSettings.policyPresetID);
}

bool ReviewController::confirmShareIfReviewNeeded(ShareAction action)
{
    if (m_shareGate.admit(action, shareNeedsReviewCount(m_state, action)))
        return true;
    ChangeScope scope(*this); // announces the warning raised
    return false;
}

} // namespace velmora
