#include "app/review/capture_texts.h"

#include "app/review/review_status_text.h"
#include "core/protection/capture_output_modes.h"

#include <QFileInfo>

namespace velmora {

QString captureFallbackStatusText(const std::optional<VelmoraCaptureOutputFallbackReason> &reason, VelmoraCaptureMode mode)
{
    const QString label = captureModeInfo(mode).sourceLabel;
    using Case = VelmoraCaptureOutputFallbackReason::Case;
    if (reason && reason->kind == Case::reviewFindingsPresent)
        return QStringLiteral("%1 has %2 %3 needing Check, so auto-output paused for review.")
            .arg(label)
            .arg(reason->count)
            .arg(findingNoun(reason->count));
    if (reason && reason->kind == Case::reviewFirstMode)
        return label + QStringLiteral(" opened for review because AutoClean is set to Review first.");
    return label + QStringLiteral(" loaded. Review the findings, then copy or export a cleaned image.");
}

QString captureOutputStatusText(VelmoraCaptureOutputMode mode, const std::optional<QString> &savedFilePath)
{
    if (mode == VelmoraCaptureOutputMode::saveAndCopyCleanedPNG)
        return QStringLiteral("Capture scanned locally. Cleaned PNG saved and copied to clipboard.");
    if (savesToFolder(mode))
        return QStringLiteral("Capture scanned locally. Cleaned PNG saved to %1.")
            .arg(savedFilePath ? QFileInfo(*savedFilePath).fileName() : QStringLiteral("the selected folder"));
    return QStringLiteral("Capture scanned locally. Cleaned PNG copied to clipboard.");
}

QString captureReceiptHeadline(VelmoraCaptureOutputMode mode)
{
    if (mode == VelmoraCaptureOutputMode::saveAndCopyCleanedPNG)
        return QStringLiteral("Cleaned screenshot saved and copied");
    if (savesToFolder(mode))
        return QStringLiteral("Cleaned screenshot saved");
    return QStringLiteral("Cleaned screenshot copied");
}

} // namespace velmora
