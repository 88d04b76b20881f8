#include "app/review/review_controller.h"

#include "app/review/finding_queries.h"
#include "app/review/review_controller_private.h"
#include "app/review/review_queries.h"

namespace velmora {

namespace {

const QString previewingOutput = QStringLiteral("Previewing the exact flattened output for copy and export.");
const QString selectedBoxReset = QStringLiteral("Selected box reset to its original detected bounds.");

} // namespace

void ReviewController::closeCurrentReview()
{
    // Images still being read are not opened after all.
    m_fileImport.cancel();
    m_intakeImport.cancel();
    if (!hasActiveReview(m_state)) {
        // A background AutoClean leaves its banner, review item and undo with nothing
        // open: they end with the close all the same.
        if (m_banner.text() || m_state.lastAutoCleanReviewItem || m_environment.autoCleanUndo.token()) {
            ChangeScope scope(*this);
            clearBannerAndAutoClean();
        }
        return;
    }
    ChangeScope scope(*this);
    cancelCurrentDetection();
    cancelBatchScan();
    for (auto *task : {&m_state.customSettingsRescanTask, &m_state.captureTask})
        cancelAndForget(*task);
    m_state.shouldNotifyCustomSettingsRescanCompletion = false;

    m_state.isManualEditing = false;
    m_state.keepsManualEditingAfterCommit = false;
    m_state.isPreviewingRedactedOutput = false;
    m_state.redactedPreviewImage = QImage();
    m_state.findingFilter = FindingFilter::all;
    m_shareGate = ShareGate();

    clearBannerAndAutoClean();

    m_state.batch.replace({});
    m_state.currentImage = QImage();
    m_images.clear();
    m_state.windowErrorText.reset();

    m_state.setErrorText(std::nullopt);
    m_state.setReviewStatusNote(ReviewText::startPrompt);
}

void ReviewController::clearBannerAndAutoClean()
{
    m_banner.clear();
    m_state.lastAutoCleanReviewItem.reset();
    m_environment.autoCleanUndo.clear();
}

void ReviewController::setOutputPreview(bool on)
{
    ChangeScope scope(*this);
    if (m_state.image().isNull()) {
        m_state.isPreviewingRedactedOutput = false;
        m_state.redactedPreviewImage = QImage();
        return;
    }
    m_state.isPreviewingRedactedOutput = on;
    m_state.isManualEditing = false;
    if (on) {
        refreshOutputPreview();
        // Also after a failed render, whose error line stays.
        m_state.setReviewStatusNote(previewingOutput);
    } else {
        refreshStatusSummary();
    }
}

void ReviewController::toggleOutputPreview()
{
    setOutputPreview(!m_state.isPreviewingRedactedOutput);
}

void ReviewController::runShareCommand(ShareAction action)
{
    // The menu keys reach here while the buttons are disabled: nothing leaves the app
    // from a scan that has not ended, whose plan may not hold its findings yet, nor from
    // an image that no scan has reached.
    switch (action) {
    case ShareAction::copy:
        if (canShareCurrentImage(m_state) && confirmShareIfReviewNeeded(action))
            copyCleanedPNG();
        break;
    case ShareAction::export_:
        if (canShareCurrentImage(m_state) && confirmShareIfReviewNeeded(action))
            chooseExportDestination();
        break;
    case ShareAction::batchExport:
        exportBatchAction();
        break;
    }
}

void ReviewController::continuePendingShare()
{
    std::optional<ShareAction> action;
    {
        ChangeScope scope(*this);
        action = m_shareGate.take();
    }
    if (!action)
        return;
    switch (*action) {
    case ShareAction::copy:
        copyCleanedPNG();
        break;
    case ShareAction::export_:
        chooseExportDestination();
        break;
    case ShareAction::batchExport:
        chooseBatchExportFolder();
        break;
    }
}

void ReviewController::cancelPendingShare()
{
    ChangeScope scope(*this);
    m_shareGate.take();
}

void ReviewController::deleteSelectedManualRedaction()
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->deleteSelectedManualBox())
        return;
    ChangeScope scope(*this);
    refreshAfterPlanChange();
}

void ReviewController::applyManualEditHistoryStep(ManualEditStep step)
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->applyEditStep(step))
        return;
    ChangeScope scope(*this);
    m_state.isManualEditing = false;
    refreshAfterPlanChange();
}

void ReviewController::applyCustomDetectionSettings(const std::optional<DetectionSettingsValues> &values)
{
    if (!values) {
        saveDetectionSettings();
        return;
    }
    ChangeScope scope(*this);
    m_state.detectionSettings = *values;
}

void ReviewController::setManualEditing(bool isOn)
{
    ChangeScope scope(*this);
    if (m_state.image().isNull() || m_state.isChecking()) {
        m_state.isManualEditing = false;
        return;
    }
    if (isOn) {
        // Drawing always works on the image itself, never on the output preview.
        m_state.isPreviewingRedactedOutput = false;
        m_state.redactedPreviewImage = QImage();
    }
    m_state.isManualEditing = isOn;
    m_state.setErrorText(std::nullopt);
    if (isOn)
        m_state.setReviewStatusNote(ReviewText::drawManualRedaction);
    else
        refreshStatusSummary();
}

void ReviewController::setKeepsManualEditingAfterCommit(bool keeps)
{
    ChangeScope scope(*this);
    m_state.keepsManualEditingAfterCommit = keeps;
}

void ReviewController::resetSelectedBounds()
{
    ReviewDocument *document = m_state.batch.current();
    if (!document || !document->resetSelectedBounds())
        return;
    ChangeScope scope(*this);
    refreshAfterPlanChange();
    m_state.setReviewStatusNote(selectedBoxReset);
}

} // namespace velmora
