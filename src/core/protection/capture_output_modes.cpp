#include "core/protection/capture_output_modes.h"

namespace velmora {

QString title(VelmoraCaptureOutputMode mode)
{
    switch (mode) {
    case VelmoraCaptureOutputMode::reviewInVelmora:
        return QStringLiteral("Review in Velmora");
    case VelmoraCaptureOutputMode::copyCleanedPNG:
        return QStringLiteral("Copy cleaned image to clipboard");
    case VelmoraCaptureOutputMode::saveCleanedPNG:
        return QStringLiteral("Save cleaned image to folder");
    case VelmoraCaptureOutputMode::saveAndCopyCleanedPNG:
        return QStringLiteral("Save and copy");
    }
    return {};
}

bool copiesToClipboard(VelmoraCaptureOutputMode mode)
{
    return mode == VelmoraCaptureOutputMode::copyCleanedPNG || mode == VelmoraCaptureOutputMode::saveAndCopyCleanedPNG;
}

bool savesToFolder(VelmoraCaptureOutputMode mode)
{
    return mode == VelmoraCaptureOutputMode::saveCleanedPNG || mode == VelmoraCaptureOutputMode::saveAndCopyCleanedPNG;
}

QString title(VelmoraAutoCleanSafetyMode mode)
{
    switch (mode) {
    case VelmoraAutoCleanSafetyMode::reviewFirst:
        return QStringLiteral("Review first");
    case VelmoraAutoCleanSafetyMode::pauseIfUnsure:
        return QStringLiteral("AutoClean, pause if unsure");
    case VelmoraAutoCleanSafetyMode::autoCleanEverything:
        return QStringLiteral("AutoClean everything");
    }
    return {};
}

QString description(VelmoraAutoCleanSafetyMode mode)
{
    switch (mode) {
    case VelmoraAutoCleanSafetyMode::reviewFirst:
        return QStringLiteral("Open every protected screenshot in Velmora before output.");
    case VelmoraAutoCleanSafetyMode::pauseIfUnsure:
        return QStringLiteral("Auto-output confident redactions, but open review when any finding needs Check.");
    case VelmoraAutoCleanSafetyMode::autoCleanEverything:
        return QStringLiteral("Auto-output all selected findings, including ones marked Check.");
    }
    return {};
}

VelmoraAutoCleanSafetyMode autoCleanSafetyModeFromLegacy(bool requiresNoReviewFindings)
{
    return requiresNoReviewFindings ? VelmoraAutoCleanSafetyMode::pauseIfUnsure
                                    : VelmoraAutoCleanSafetyMode::autoCleanEverything;
}

} // namespace velmora
