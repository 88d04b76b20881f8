#include "core/protection/capture_output_policy.h"

namespace velmora {

VelmoraCaptureOutputPolicy VelmoraCaptureOutputPolicy::fromLegacy(VelmoraCaptureOutputMode mode,
                                                                  bool requiresNoReviewFindings)
{
    return {mode, autoCleanSafetyModeFromLegacy(requiresNoReviewFindings)};
}

bool VelmoraCaptureOutputPolicy::requiresNoReviewFindings() const
{
    return safetyMode == VelmoraAutoCleanSafetyMode::pauseIfUnsure;
}

void VelmoraCaptureOutputPolicy::setRequiresNoReviewFindings(bool required)
{
    safetyMode = autoCleanSafetyModeFromLegacy(required);
}

VelmoraCaptureOutputDecision VelmoraCaptureOutputPolicy::decision(int reviewFindingCount) const
{
    // The output mode outranks the safety mode: a review mode is never an AutoClean.
    if (mode == VelmoraCaptureOutputMode::reviewInVelmora)
        return {VelmoraCaptureOutputMode::reviewInVelmora, VelmoraCaptureOutputFallbackReason::explicitReviewMode()};
    if (safetyMode == VelmoraAutoCleanSafetyMode::reviewFirst)
        return {VelmoraCaptureOutputMode::reviewInVelmora, VelmoraCaptureOutputFallbackReason::reviewFirstMode()};
    if (safetyMode == VelmoraAutoCleanSafetyMode::pauseIfUnsure && reviewFindingCount > 0)
        return {VelmoraCaptureOutputMode::reviewInVelmora,
                VelmoraCaptureOutputFallbackReason::reviewFindingsPresent(reviewFindingCount)};
    return {mode, std::nullopt};
}

VelmoraAutoCleanReceiptSurface autoCleanReceiptSurface(bool isApplicationActive, bool notificationsAllowed)
{
    return !isApplicationActive && notificationsAllowed ? VelmoraAutoCleanReceiptSurface::systemNotification
                                                        : VelmoraAutoCleanReceiptSurface::inAppBanner;
}

} // namespace velmora
