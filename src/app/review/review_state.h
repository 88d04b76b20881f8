#pragma once

#include "app/review/batch_review_item.h"
#include "app/review/review_intake.h"
#include "app/review/review_model_enums.h"
#include "app/review/review_status_text.h"
#include "app/review/review_values.h"
#include "core/redaction/manual_redaction_edit_history.h"
#include "core/redaction/redaction_plan.h"
#include "core/settings/detection_settings.h"
#include "core/support/task_handle.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <optional>

namespace velmora {

// Everything the main window shows of a review, as one plain value owned by the
// ReviewController. The live fields of the image on screen (plan, selection, history,
// status, error, checking flag) are the current ones; the batch item with
// `selectedBatchItemID` receives them after every change. An absent image is a null
// QImage.
struct ReviewState
{
    // The image under review.
    QImage image;
    RedactionPlan redactionPlan;
    bool isChecking = false;
    QString reviewStatusNote = ReviewText::startPrompt;
    std::optional<QString> errorText;
    std::optional<TaskHandle> detectionTask;
    QUuid detectionRunID = QUuid::createUuid();
    std::optional<TaskHandle> customSettingsRescanTask;
    bool shouldNotifyCustomSettingsRescanCompletion = false;
    std::optional<QUuid> selectedDetectionID;
    bool isManualEditing = false;
    bool keepsManualEditingAfterCommit = false;
    bool isPreviewingRedactedOutput = false;
    QImage redactedPreviewImage;
    FindingFilter findingFilter = FindingFilter::all;
    std::optional<ShareAction> pendingShareAction;
    bool isShowingReviewWarning = false;
    ManualRedactionEditHistory manualEditHistory;
    std::optional<QUrl> sourceImageURL;
    std::optional<QString> sourceDisplayLabel;

    // The completion banner.
    std::optional<QString> completionBannerText;
    std::optional<CompletionBannerAction> completionBannerAction;
    std::optional<CompletionBannerAction> completionBannerSecondaryAction;
    std::optional<TaskHandle> completionBannerTask;

    // The batch.
    QList<BatchReviewItem> batchItems;
    std::optional<QUuid> selectedBatchItemID;
    BatchReviewFilter batchFilter = BatchReviewFilter::all;
    std::optional<FindingCategory> batchCategoryFilter;
    std::optional<TaskHandle> batchScanTask;
    QUuid batchRunID = QUuid::createUuid();
    bool includesCleanBatchExports = true;
    /// The error line of a load that skipped files: it belongs to the window, so the
    /// write-back never makes it an item's error.
    std::optional<QString> skippedFilesNotice;

    // Background intake and output.
    WatchedAlertQueue<ReviewIntakeImage> watchedScreenshotQueue;
    std::optional<ReviewIntakeImage> lastAutoCleanReviewItem;
    std::optional<TaskHandle> captureTask;
    std::optional<ExportLocation> lastExportLocation;

    /// The window's copy of the five stored detection settings.
    DetectionSettingsValues detectionSettings;
};

} // namespace velmora
