#pragma once

#include "core/redaction/redaction_plan.h"

#include <QString>
#include <QStringView>

namespace velmora {

// The sentences of the review's status line and error line.
namespace ReviewText {
inline const QString startPrompt =
    QStringLiteral("Open, paste, or drop a PNG, JPEG, TIFF, or HEIC image. Velmora works on device; review before sharing.");
inline const QString imageLoaded = QStringLiteral("Image loaded. Scanning on device...");
/// The label of an image taken from the clipboard, in place of a file name.
inline const QString clipboardImageLabel = QStringLiteral("Clipboard image");
inline const QString queuedForScan = QStringLiteral("Queued for on-device scan.");
inline const QString checking = QStringLiteral("Checking text and visual content on device...");
inline const QString drawManualRedaction = QStringLiteral("Draw a manual redaction on the image.");
inline const QString detectionCanceled = QStringLiteral("Detection canceled. Review existing boxes or re-scan.");
inline const QString rememberedAsSafe =
    QStringLiteral("Marked visible and remembered the exact matched text as safe locally.");
inline const QString customSettingsChanged = QStringLiteral("Custom settings changed. Re-scanning current image...");
inline const QString detectionFailed = QStringLiteral("Detection failed. Automated detections were cleared.");
inline const QString reviewManualRedactions = QStringLiteral("Review manual redactions or try Re-scan.");
inline const QString tryRescanOrDraw = QStringLiteral("Try Re-scan or draw a manual redaction.");
inline const QString unsupportedImage = QStringLiteral("Use a PNG, JPEG, TIFF, or HEIC image.");
inline const QString unreadableImage = QStringLiteral("That image could not be opened.");
inline const QString tryAnotherImage = QStringLiteral("Try another image.");
inline const QString fileUnreadableSinceOpened =
    QStringLiteral("The file was moved, changed or can no longer be read since it was opened.");
inline const QString previewFailed = QStringLiteral("Preview failed. Try copy or export again.");
inline const QString previewUnavailable = QStringLiteral("Output preview could not be generated.");
inline const QString customPatternsSkipped =
    QStringLiteral("Some custom patterns were skipped because they took too long.");
} // namespace ReviewText

/// The status sentence of a finished review of the plan.
QString reviewHint(const RedactionPlan &plan);
/// A scan's status sentence, followed by the skipped-patterns sentence when the user's
/// patterns ran out of time on the image.
QString withSkippedPatternsNote(const QString &sentence, bool customPatternsSkipped);
/// The findings panel's summary line: "3 will redact - 1 to check", "2 will redact - 1 visible".
QString findingsSummaryText(const RedactionPlan &plan, bool hasImage);
/// "finding" or "findings", as `count` asks.
QString findingNoun(int count);
/// The count followed by the noun that agrees with it: "1 image", "3 images".
QString counted(qsizetype count, const QString &singular, const QString &plural);
/// The review warning for `count` findings that still need checking.
QString reviewWarningMessage(int count);
/// The error line of a batch load that skipped `count` unreadable files.
QString skippedFilesText(int count);
/// Where the active policy comes from, from the stored policy source and preset
/// identifier: a managed or imported policy says so, else the preset's title, else
/// "Current defaults".
QString policySourceLabel(QStringView policySource, QStringView policyPresetID);

} // namespace velmora
