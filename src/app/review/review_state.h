#pragma once

#include "app/review/review_batch.h"
#include "app/review/review_intake.h"
#include "app/review/review_model_enums.h"
#include "app/review/review_screen.h"
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
// ReviewController. The image under review is the selected document of the batch: its
// plan, selection, edit history, status, error and checking flag live in that document
// alone, and the accessors named after them read it. Without an image the window keeps
// a status and an error line of its own.
struct ReviewState
{
    /// The decoded pixels of the image under review; a null image when nothing is, while
    /// they are on their way and when they could not be read.
    QImage image() const;
    /// An image is under review whose bitmap is on screen or on its way.
    bool hasImageOnScreen() const;
    const RedactionPlan &redactionPlan() const;
    std::optional<QUuid> selectedDetectionID() const;
    const ManualRedactionEditHistory &manualEditHistory() const;
    bool isChecking() const;
    const QString &reviewStatusNote() const;
    /// The window's error while it has one, else the document's own.
    std::optional<QString> errorText() const;
    std::optional<QUrl> sourceImageURL() const;
    std::optional<QString> sourceDisplayLabel() const;

    /// The status line: the current document's, or the window's without an image.
    void setReviewStatusNote(const QString &note);
    /// The error line: the current document's, or the window's without an image; the
    /// window's own error goes either way.
    void setErrorText(const std::optional<QString> &text);

    std::optional<TaskHandle> detectionTask;
    QUuid detectionRunID = QUuid::createUuid();
    std::optional<TaskHandle> customSettingsRescanTask;
    bool shouldNotifyCustomSettingsRescanCompletion = false;
    /// Draw mode stays on after a box is added.
    bool keepsManualEditingAfterCommit = false;
    FindingFilter findingFilter = FindingFilter::all;
    /// The selected document's bitmap, the preview and the canvas mode.
    ReviewScreen screen;
    /// The status line while no image is under review.
    QString idleStatusNote = ReviewText::startPrompt;

    ReviewBatch batch;
    /// A batch export is being written.
    bool isExportingBatch = false;
    /// The cleaned copy of a Copy or an Export is being made.
    bool isWritingCleanedImage = false;
    /// The error line of the window rather than of an image (a load that skipped files,
    /// an import that failed, any error while no image is under review); it shows over
    /// the document's own until the error line is set again or another image is shown.
    std::optional<QString> windowErrorText;

    // Background intake and output.
    WatchedAlertQueue<ReviewIntakeImage> watchedScreenshotQueue;
    std::optional<ReviewIntakeImage> lastAutoCleanReviewItem;
    std::optional<TaskHandle> captureTask;
    std::optional<ExportLocation> lastExportLocation;

    /// The window's copy of the five stored detection settings.
    DetectionSettingsValues detectionSettings;
};

} // namespace velmora
