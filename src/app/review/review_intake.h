#pragma once

#include "app/review/image_scan.h"
#include "app/review/review_image_source.h"
#include "app/review/review_model_enums.h"
#include "app/review/review_values.h"
#include "core/detection/custom_detection_configuration.h"
#include "core/history/safe_share_enums.h"
#include "core/redaction/redaction_plan.h"
#include "core/support/task_handle.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace velmora {

/// An image a flow hands to the review: its encoded bytes or its file, how it is named
/// and where it came from, and either a plan of its own or nothing (it is then scanned).
struct ReviewIntakeImage
{
    QByteArray encodedBytes;               ///< The encoded image, for images without a file.
    std::optional<QString> filePath;       ///< The file it is read from; wins over `encodedBytes`.
    std::optional<QString> displayLabel;   ///< Shown in place of a file name.
    SafeShareSourceType sourceType = SafeShareSourceType::unknown;
    std::optional<RedactionPlan> plan;     ///< Opened with this plan, unscanned; without one it is scanned.
    std::optional<QUuid> selectedDetectionID; ///< The finding selected when it opens.
    QString statusSentence;                ///< The status line once it is on screen.
    /// The file as `plan` was made for it. The plan is kept only while the file is still
    /// the one scanned: a file written again since is opened without it and scanned anew.
    std::optional<ReviewImageSource> scannedFile = std::nullopt;

    friend bool operator==(const ReviewIntakeImage &, const ReviewIntakeImage &) = default;
};

// What a flow outside the review (the clipboard guard's scan, capture and AutoClean,
// watched screenshots, the Quick Start sample) may do with it. The review controller
// implements it; a flow keeps a reference for as long as the controller lives and
// never reaches further in. Main thread only.
class ReviewIntake
{
public:
    virtual ~ReviewIntake() = default;

    /// A scan of the image under review (alone or as part of the batch) runs.
    virtual bool isCheckingImage() const = 0;
    /// An image is under review, or a batch is loaded.
    virtual bool hasReviewInProgress() const = 0;

    /// Reads the image off the main thread, then ends the review in progress and opens
    /// the image as a batch of one; an image that cannot be read shows the import failure
    /// and nothing else changes. A later image, an open of files or closing the review
    /// before the read is done drops it.
    virtual void openForReview(const ReviewIntakeImage &image) = 0;
    /// Opens the image as `openForReview` does; once it is on screen the error line
    /// reads `errorText`.
    virtual void openForReviewWithFailure(const ReviewIntakeImage &image, const QString &errorText) = 0;
    /// Keeps the image for the banner's "Review" action: after an AutoClean, or a
    /// capture waiting for the review on screen to end.
    virtual void setLastAutoCleanReviewItem(const ReviewIntakeImage &image) = 0;
    /// Adds a watched screenshot to the front of the queue of those waiting for review.
    virtual void queueWatchedScreenshot(const ReviewIntakeImage &image) = 0;

    /// Scans an image that is not under review with the current detection settings:
    /// `done` is called once from the event loop unless `context` is gone first.
    virtual void scanDetached(const QImage &image, const TaskHandle &task, QObject *context,
                              std::function<void(ScanOutcome)> done) = 0;
    /// The same with the detection settings as they were when the flow began.
    virtual void scanDetachedWith(const QImage &image, const CustomDetectionConfiguration &configuration,
                                  const TaskHandle &task, QObject *context, std::function<void(ScanOutcome)> done) = 0;
    /// Built anew from the stored detection settings at every call.
    virtual CustomDetectionConfiguration customDetectionConfiguration() const = 0;

    /// Shows the banner for 8 s with an action, 2.4 s without.
    virtual void showCompletionBanner(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                                      std::optional<CompletionBannerAction> secondaryAction) = 0;
    /// The banner of an AutoClean receipt that went out while Velmora was not in front:
    /// it shows once Velmora comes to the front, if the AutoClean can still be undone by
    /// then, and goes when the undo does.
    virtual void showAutoCleanBannerOnReturn(const QString &text, std::optional<CompletionBannerAction> primaryAction,
                                             std::optional<CompletionBannerAction> secondaryAction) = 0;
    /// The status line of the window.
    virtual void showStatus(const QString &sentence) = 0;
    /// The error line and the status line of the window.
    virtual void showFailure(const QString &errorText, const QString &sentence) = 0;
    /// The status line, only while no image is under review: an image keeps its own.
    virtual void showStatusWhenIdle(const QString &sentence) = 0;
    /// Adds a share to the local history with the current policy's label.
    virtual void recordShare(SafeShareAction action, SafeShareSourceType sourceType, const RedactionPlan &plan,
                             const std::optional<QString> &outputPath) = 0;

    /// Makes `task` the review's capture (closing the review cancels it): the error line,
    /// manual editing and the output preview end, and `statusHint` is the status. False,
    /// and nothing changes, while a capture or a scan of the image runs.
    virtual bool startCaptureTask(const TaskHandle &task, const QString &statusHint) = 0;
    /// The capture with `task` has ended and is forgotten. False when a newer capture
    /// runs: the ending of an older one then leaves that capture and its status alone.
    virtual bool finishCaptureTask(const TaskHandle &task) = 0;
    /// The file or folder the banner's "Show" action reveals.
    virtual void setLastExportLocation(const ExportLocation &location) = 0;
};

} // namespace velmora
