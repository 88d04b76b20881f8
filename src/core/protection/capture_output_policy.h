#pragma once

#include "core/protection/capture_output_modes.h"
#include "core/support/raw_enum.h"

#include <optional>

namespace velmora {

/// Why a protected image was sent to the review instead of being written at once.
struct VelmoraCaptureOutputFallbackReason
{
    enum class Case {
        reviewFindingsPresent, ///< Findings need review and the safety mode pauses for them.
        explicitReviewMode,    ///< The output mode itself is review.
        reviewFirstMode,       ///< The safety mode opens every image in the review.
    };

    Case kind = Case::explicitReviewMode;
    int count = 0; ///< Findings that need review; set for `reviewFindingsPresent` only.

    static VelmoraCaptureOutputFallbackReason reviewFindingsPresent(int count) { return {Case::reviewFindingsPresent, count}; }
    static VelmoraCaptureOutputFallbackReason explicitReviewMode() { return {Case::explicitReviewMode, 0}; }
    static VelmoraCaptureOutputFallbackReason reviewFirstMode() { return {Case::reviewFirstMode, 0}; }

    friend bool operator==(const VelmoraCaptureOutputFallbackReason &, const VelmoraCaptureOutputFallbackReason &) = default;
};

/// What to carry out for one scanned image; a reason is present exactly when it goes to review.
struct VelmoraCaptureOutputDecision
{
    VelmoraCaptureOutputMode mode = VelmoraCaptureOutputMode::reviewInVelmora;
    std::optional<VelmoraCaptureOutputFallbackReason> fallbackReason;

    bool fellBackToReview() const { return fallbackReason.has_value(); }

    friend bool operator==(const VelmoraCaptureOutputDecision &, const VelmoraCaptureOutputDecision &) = default;
};

/// The chosen output mode and how careful AutoClean is before carrying it out.
struct VelmoraCaptureOutputPolicy
{
    VelmoraCaptureOutputMode mode = VelmoraCaptureOutputMode::reviewInVelmora;
    VelmoraAutoCleanSafetyMode safetyMode = VelmoraAutoCleanSafetyMode::reviewFirst;

    /// From a mode and the older yes/no setting that asked for no findings needing review.
    static VelmoraCaptureOutputPolicy fromLegacy(VelmoraCaptureOutputMode mode, bool requiresNoReviewFindings);

    /// Yes exactly for `pauseIfUnsure`; `reviewFirst` reads as no.
    bool requiresNoReviewFindings() const;
    void setRequiresNoReviewFindings(bool required);

    /// `reviewFindingCount`: the scanned image's plan entries that need review.
    VelmoraCaptureOutputDecision decision(int reviewFindingCount) const;

    friend bool operator==(const VelmoraCaptureOutputPolicy &, const VelmoraCaptureOutputPolicy &) = default;
};

/// Where the receipt of an AutoClean output is shown.
enum class VelmoraAutoCleanReceiptSurface { inAppBanner, systemNotification };

/// A desktop notification only while the application is not active and notifications are allowed.
VelmoraAutoCleanReceiptSurface autoCleanReceiptSurface(bool isApplicationActive, bool notificationsAllowed);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCaptureOutputFallbackReason::Case,
    {velmora::VelmoraCaptureOutputFallbackReason::Case::reviewFindingsPresent, "reviewFindingsPresent"},
    {velmora::VelmoraCaptureOutputFallbackReason::Case::explicitReviewMode, "explicitReviewMode"},
    {velmora::VelmoraCaptureOutputFallbackReason::Case::reviewFirstMode, "reviewFirstMode"});

VELMORA_RAW_ENUM(velmora::VelmoraAutoCleanReceiptSurface,
    {velmora::VelmoraAutoCleanReceiptSurface::inAppBanner, "inAppBanner"},
    {velmora::VelmoraAutoCleanReceiptSurface::systemNotification, "systemNotification"});
