#pragma once

#include "core/protection/capture_mode.h"
#include "core/protection/capture_output_policy.h"

#include <QString>

#include <optional>

namespace velmora {

// The sentences of a capture's endings, in one place.
namespace CaptureText {
inline const QString canceledByTask = QStringLiteral("Capture canceled. Choose another source when ready.");
inline const QString canceledByUser = QStringLiteral("Capture canceled. No image was imported.");
inline const QString permissionError = QStringLiteral(
    "Allow screen capture for Velmora in your desktop's privacy settings, then try capture again.");
inline const QString failedError = QStringLiteral("Capture failed. Try another capture mode or import an image.");
inline const QString needsFolderStatus =
    QStringLiteral("Capture scanned locally. Choose a capture output folder in Settings to use save modes.");
inline const QString needsFolderError = QStringLiteral("Capture save mode needs an output folder in Settings.");
inline const QString autoOutputFailedStatus =
    QStringLiteral("Capture scanned locally. Auto-output failed, so Velmora opened review.");
inline const QString autoOutputFailedError =
    QStringLiteral("Capture auto-output failed. Review and copy or export manually.");
inline const QString waitingForReview = QStringLiteral("Capture ready for review");
inline const QString autoCleanReviewItemStatus =
    QStringLiteral("AutoClean produced a cleaned PNG. Review the boxes before sharing sensitive screenshots.");
} // namespace CaptureText

/// The status of a capture that opens for review, by why it did ("Area capture has 2
/// findings needing Check, so auto-output paused for review.").
QString captureFallbackStatusText(const std::optional<VelmoraCaptureOutputFallbackReason> &reason, VelmoraCaptureMode mode);
/// The status once AutoClean wrote a capture; `savedFilePath` names the saved file.
QString captureOutputStatusText(VelmoraCaptureOutputMode mode, const std::optional<QString> &savedFilePath);
/// The receipt's title: "Cleaned screenshot copied", "... saved", "... saved and copied".
QString captureReceiptHeadline(VelmoraCaptureOutputMode mode);

} // namespace velmora
