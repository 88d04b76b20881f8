#pragma once

#include "app/kit/desktop_services.h"
#include "app/protection/autoclean_undo_coordinator.h"
#include "app/protection/clipboard_image.h"
#include "app/protection/clipboard_protection_controller.h"
#include "app/protection/notification_center.h"
#include "app/review/batch_export.h"
#include "app/review/batch_scan_runner.h"
#include "app/review/cleaned_image_output.h"
#include "app/review/dropped_images.h"
#include "app/review/file_dialogs.h"
#include "app/review/file_import.h"
#include "app/review/image_scan.h"
#include "app/review/intake_import.h"
#include "app/review/review_banner.h"
#include "app/review/review_intake.h"
#include "app/review/review_state.h"
#include "app/review/screen_images.h"
#include "app/review/share_gate.h"
#include "core/detection/core_error.h"
#include "core/detection/custom_detection_configuration.h"
#include "core/policy/redaction_policy_disposition.h"
#include "core/protection/capture_output_policy.h"

#include <QByteArray>
#include <QObject>

#include <memory>
#include <optional>
#include <variant>

namespace velmora {

class ClipboardAccess;
class Clock;
class ScanEngine;
class StoredSettings;

/// What the review reaches outside itself; each outlives the controller.
struct ReviewEnvironment
{
    ScanEngine &scanEngine;
    StoredSettings &settings;
    ClipboardAccess &clipboard;
    Clock &clock;
    /// The clipboard guard of the window: the review marks its own clipboard writes in it.
    ClipboardProtectionController &clipboardGuard;
    /// The undo of the last AutoClean, which the banner offers.
    AutoCleanUndoCoordinator &autoCleanUndo;
    /// The open and save panels; without them every panel reads as cancelled.
    FileDialogs &fileDialogs = FileDialogs::none();
    /// Desktop notifications, for results that arrive while Velmora is not in front.
    NotificationCenter &notifications = NotificationCenter::none();
    /// Whether Velmora is the application in front; the window gives the application's state.
    std::function<bool()> isApplicationActive = [] { return true; };
    /// The file manager and the notification settings, for the banner's actions.
    DesktopServices &desktop = DesktopServices::none();
};

// The review workflow without widgets: it owns the review state of the main window
// and implements the review's commands on it (taking images in as a batch, running,
// superseding and cancelling scans, keeping every batch item in step with the image
// on screen, wording the status). The window's panes draw `state()` and their bindings
// call these commands; `changed` tells them to draw again. The flows outside the
// review (capture, the clipboard guard, the screenshot watch) reach it through
// `intake()` alone. Main thread only.
//
// The commands live by what they touch: review_controller.cpp (settings, upkeep, batch
// navigation), review_controller_screen.cpp (the bitmap on screen, the preview, the canvas
// mode), review_controller_edits.cpp (findings and boxes), review_controller_scan.cpp,
// review_controller_intake.cpp (images in, the flows' side) and review_controller_output.cpp
// (copy, export, the review gate and the banner).
class ReviewController : public QObject, private ReviewIntake
{
    Q_OBJECT
public:
    explicit ReviewController(ReviewEnvironment environment, QObject *parent = nullptr);
    ~ReviewController() override;

    const ReviewState &state() const { return m_state; }
    /// The review gate in front of every share, with the share it holds.
    const ShareGate &shareGate() const { return m_shareGate; }
    /// The completion banner.
    const ReviewBanner &banner() const { return m_banner; }
    /// What the flows outside the review reach of it.
    ReviewIntake &intake() { return *this; }

    // Images in.
    /// Ends the review in progress, makes the items the batch, shows the first and,
    /// when asked, scans them all.
    void loadBatch(QList<ReviewDocument> items, const QString &statusSentence, int skippedCount, bool scan);
    /// Takes files and folders in as one batch (a folder stands for its images), read off
    /// the main thread: the first item shows as soon as it is read.
    void loadImageURLs(const QList<QUrl> &urls, const QString &singleImageStatus, bool scan);
    /// Takes what a drop brought in: its files and folders as one batch, or without files
    /// its image.
    void openDroppedImages(const DroppedImages &dropped);
    void openImagesFromPanel();
    void openFolderFromPanel();
    void pasteImageFromClipboard();
    /// Opens the watched screenshot of that file waiting for review, or without a file the
    /// newest one, taking it off the queue.
    void openWatchedScreenshot(const QString &filePath = QString());
    void closeCurrentReview();

    // Scans.
    void startDetection();
    /// The Cancel detection command, also run when the window goes away: stops the scan
    /// that runs, the single-image one or the batch scan (whose queued items stay
    /// queued), and says so on the image it hit; stops a batch export being written. The
    /// review stays.
    void cancelRunningScans();
    /// Takes the detection settings a change notice carries (or reloads the stored ones
    /// when it carries none), then re-scans the image 0.65 s after the last change of a burst.
    void applyCustomDetectionSettings(const std::optional<DetectionSettingsValues> &values);

    // The findings panel. Inclusion changes are never recorded in the manual edit history.
    /// A finding chosen in the list or a box clicked on the canvas; ends draw mode.
    void selectDetection(const QUuid &detectionID);
    /// Clears the selection only when the new filter hides it.
    void selectFindingFilter(FindingFilter filter);
    /// A row's checkbox or a group's button: every listed finding in list order, then the upkeep once.
    void setFindingsActive(bool isActive, const QList<QUuid> &detectionIDs);
    void toggleSelectedFindingActive();
    void setAllFindingsIncluded(bool isActive);
    /// Walks all plan entries (not only the filtered ones), wrapping at both ends.
    void selectAdjacentFinding(int step);
    /// Marks the finding visible and adds its exact matched text to the stored allowlist.
    void rememberFindingAsSafe(const RedactionPlanEntry &entry);
    /// Stores the disposition for the finding's detector label; the image is scanned again.
    void setDetectorDisposition(RedactionPolicyDisposition disposition, const RedactionPlanEntry &entry);

    // The batch sidebar.
    /// The image already under review is only marked reviewed; another one ends a running
    /// scan of the current image alone and shows the chosen item.
    void selectBatchItem(const QUuid &itemID);
    /// Choosing "Clean" clears the finding-type filter.
    void selectBatchFilter(BatchReviewFilter filter);
    /// Choosing a type while "Clean" is chosen switches to "Findings"; nothing means all types.
    void selectBatchCategory(std::optional<FindingCategory> category);
    /// Walks the visible batch items, wrapping at both ends; nothing with fewer than two.
    void selectAdjacentBatchItem(int step);

    // Boxes drawn and edited by hand; the image's document owns the plan.
    void setManualEditing(bool isOn);
    void setKeepsManualEditingAfterCommit(bool keeps);
    /// A box drawn in draw mode: added to the plan and selected, one undo step; draw mode
    /// stays on when asked to.
    void addManualBox(const NormRect &bounds);
    /// One step of a move or resize drag; the whole drag is one undo step once it ends.
    void moveBox(const QUuid &detectionID, const NormRect &bounds);
    void finishBoxEdit();
    void resetSelectedBounds();
    void deleteSelectedManualRedaction();
    using ManualEditStep = velmora::ManualEditStep;
    void applyManualEditHistoryStep(ManualEditStep step);

    // Output.
    void setOutputPreview(bool on);
    /// Copy, export or batch export once the review gate lets it through.
    void runShareCommand(ShareAction action);
    /// The review warning's answers: go on with the pending share, or drop it.
    void continuePendingShare();
    void cancelPendingShare();
    void setIncludesCleanBatchExports(bool includes);

    // The banner.
    /// The banner's close button: the banner goes before its time.
    void closeCompletionBanner();
    /// Whether the banner action would replace the review in progress; the window asks
    /// about hand-made boxes that would be lost before it performs such an action.
    bool bannerActionReplacesReview(CompletionBannerAction action) const;
    /// A banner button: undoes the last AutoClean, opens its item or the newest watched
    /// alert for review, opens the notification settings, or shows the last export in
    /// the file manager.
    void performBannerAction(CompletionBannerAction action);
    /// Velmora came to the front: an AutoClean receipt that could not be shown while it
    /// was not shows now, while its undo lasts.
    void applicationBecameActive();

signals:
    /// The state changed; emitted once per operation, after it is complete.
    void changed();
    /// Cleaned copies of these batch items were copied or exported as they are now.
    void cleanedOutputShared(const QList<QUuid> &itemIDs);
    /// The re-scan that a change of the detection settings asked for has finished.
    void customSettingsRescanCompleted();

private:
    // What the flows outside the review reach through intake().
    bool isCheckingImage() const override;
    bool hasReviewInProgress() const override;
    void openForReview(const ReviewIntakeImage &image) override;
    void openForReviewWithFailure(const ReviewIntakeImage &image, const QString &errorText) override;
    void setLastAutoCleanReviewItem(const ReviewIntakeImage &image) override;
    void queueWatchedScreenshot(const ReviewIntakeImage &image) override;
    void scanDetached(const QImage &image, const TaskHandle &task, QObject *context,
                      std::function<void(ScanOutcome)> done) override;
    void scanDetachedWith(const QImage &image, const CustomDetectionConfiguration &configuration, const TaskHandle &task,
                          QObject *context, std::function<void(ScanOutcome)> done) override;
    /// Built anew from the detection settings at every call.
    CustomDetectionConfiguration customDetectionConfiguration() const override;
    /// Shows the banner for 8 s with an action, 2.4 s without.
    void showCompletionBanner(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                              std::optional<CompletionBannerAction> secondaryAction) override;
    void showAutoCleanBannerOnReturn(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                                     std::optional<CompletionBannerAction> secondaryAction) override;
    void showStatus(const QString &sentence) override;
    void showFailure(const QString &errorText, const QString &sentence) override;
    void showStatusWhenIdle(const QString &sentence) override;
    void recordShare(SafeShareAction action, SafeShareSourceType sourceType, const RedactionPlan &plan,
                     const std::optional<QString> &outputPath) override;
    bool startCaptureTask(const TaskHandle &task, const QString &statusHint) override;
    bool finishCaptureTask(const TaskHandle &task) override;
    void setLastExportLocation(const ExportLocation &location) override;

    /// Takes dropped or pasted image bytes in as a one-item batch, decoded off the main thread.
    void loadImageData(const QByteArray &data);
    /// The two failure sentences; with no image under review also stops the scans and
    /// empties the plan and the edit history.
    void showImportFailure(VelmoraCoreError error);
    /// Opens the item of the last AutoClean for review.
    void openLastAutoCleanReviewItem();

    void cancelCurrentDetection();
    /// Scans the items in queue order under a new batch run, several at once.
    void scanBatchItems(const QList<QUuid> &itemIDs);
    /// Scans every item of the batch, in queue order.
    void scanWholeBatch();
    void cancelBatchScan();
    /// Re-scans the image 0.65 s after the last of a burst of settings changes.
    void rescanAfterCustomSettingsChange();
    void rescanCurrentReview();
    /// Reloads the stored detection settings.
    void reloadDetectionSettings();
    QString policySourceLabel() const;

    /// True when nothing needs review; else the share gate holds the action and raises the review warning.
    bool confirmShareIfReviewNeeded(ShareAction action);
    void copyCleanedPNG();
    void chooseExportDestination();
    /// Writes the batch export off the main thread, its progress in the status line; the
    /// Cancel detection command stops it and nothing stays written.
    void chooseBatchExportFolder();
    /// The batch export button: passes the review gate, then asks for the folder.
    void exportBatchAction();

    /// Makes the item the image under review and marks it reviewed; its bitmap shows at
    /// once when it is kept, else once it is decoded off the main thread.
    void showBatchItem(const ReviewDocument &item);
    /// The item's bitmap is in (null: it could not be read); dropped when the item is no
    /// longer the one awaited.
    void takeBitmap(const QUuid &itemID, const ScreenBitmap &bitmap);
    /// The error line and status of an image on screen whose bitmap could not be read.
    void showUnreadableBitmap();
    /// A preview is in (null: it could not be made); dropped unless it is the one awaited.
    void takePreview(const QUuid &itemID, const QList<Detection> &boxes, const QImage &preview);
    void refreshStatusSummary();
    /// Emits cleanedOutputShared for the items whose plan is still the one their output was made of.
    void announceShared(const QList<std::pair<QUuid, RedactionPlan>> &shared);
    /// The status and error of a copy or export, on the image it was made of.
    void showOutputOutcome(const QUuid &itemID, const std::optional<QString> &errorText, const QString &statusNote);
    /// Reads an image handed over (or, given an offer, what the clipboard offers, named
    /// and labelled as `image` says) off the main thread, then opens it with the error line.
    void startIntakeImport(const ReviewIntakeImage &image, const std::optional<QString> &errorText,
                           const std::optional<ClipboardImageOffer> &clipboardOffer = std::nullopt);
    void openImported(const ReviewIntakeImage &image, const ReviewImageSource &source, const ScreenBitmap &bitmap,
                      const std::optional<QString> &errorText);
    class ChangeScope;

    void runDetectionTask(const QUuid &runID, const TaskHandle &task, ScanRequest request);
    void applyDetectionResult(const QUuid &runID, const ScannedPlan &scanned);
    void handleDetectionFailure(const QUuid &runID, VelmoraCoreError error, const QList<Detection> &manualDetections,
                                const QHash<QUuid, bool> &manualActiveStates);
    void postRescanCompleted();
    /// The banner goes, and with it what an AutoClean offered: its review item and its undo.
    void clearBannerAndAutoClean();
    /// The AutoClean undo was taken, ended or replaced: a receipt held for the window's
    /// return is forgotten, and a banner offering an undo that is gone goes too.
    void followAutoCleanUndo();

    /// What the batch scan reaches of the review.
    BatchScanReview batchScanReview();
    void applyBatchResult(const QUuid &itemID, const ScannedPlan &scanned);
    void applyBatchFailure(const QUuid &itemID, const RedactionPlan &manualPlan);

    /// The document takes the scan's plan; on screen the preview follows.
    void adoptScan(ReviewDocument &document, const ScannedPlan &scanned, bool stillChecking);
    /// The document keeps its manual boxes with the failure sentences; on screen the
    /// failure is the window's newest error.
    void adoptFailure(ReviewDocument &document, const RedactionPlan &manualBoxes, bool stillChecking);
    /// A single-image scan runs on the item, which is on screen.
    bool runsSingleScanOn(const QUuid &itemID) const;
    /// Keeps a visible item under review after the batch filters changed.
    void reselectAfterFilterChange();
    /// While previewing, asks for the preview of the plan now unless it is shown or on its way.
    void refreshOutputPreviewIfShown();
    void onStoredSettingChanged(const QString &key);
    /// The upkeep after the plan changed: the status, and the preview while shown.
    void refreshAfterPlanChange();
    /// Runs `edit` on the image under review; when it changed the plan, the upkeep follows.
    bool editCurrentPlan(const std::function<bool(ReviewDocument &)> &edit);
    /// The batch scan is working on the image under review.
    bool batchScansCurrentItem() const;

    /// The end of a batch export of `items`: its sentences, banner, history record.
    void finishBatchExport(const QList<ReviewDocument> &items, const BatchExportOutcome &outcome);

    DetectorCategoryPreferences currentCategoryPreferences() const;

    ReviewEnvironment m_environment;
    ReviewState m_state;
    ReviewBanner m_banner;
    BatchScanRunner m_batchScan;
    int m_changeDepth = 0;
    ScreenImages m_screenImages;
    FileImport m_fileImport;
    BatchExport m_batchExport;
    CleanedImageOutput m_cleanedImageOutput;
    ShareGate m_shareGate;
    IntakeImport m_intakeImport;
    /// The items the running file import has handed over so far.
    int m_importedItemCount = 0;
};

} // namespace velmora
