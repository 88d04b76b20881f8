#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// Where a cleaned capture or clipboard image goes. Listed in the settings picker's order.
enum class VelmoraCaptureOutputMode { reviewInVelmora, copyCleanedPNG, saveCleanedPNG, saveAndCopyCleanedPNG };

/// When AutoClean must open the review instead of writing its output at once.
enum class VelmoraAutoCleanSafetyMode {
    reviewFirst,         ///< Every protected image opens in the review.
    pauseIfUnsure,       ///< Output at once unless a finding needs review.
    autoCleanEverything, ///< Output at once, whatever needs review.
};

QString title(VelmoraCaptureOutputMode mode);
bool copiesToClipboard(VelmoraCaptureOutputMode mode);
bool savesToFolder(VelmoraCaptureOutputMode mode);

QString title(VelmoraAutoCleanSafetyMode mode);
QString description(VelmoraAutoCleanSafetyMode mode);
/// The safety mode of the older yes/no setting that asked for no findings needing review.
VelmoraAutoCleanSafetyMode autoCleanSafetyModeFromLegacy(bool requiresNoReviewFindings);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCaptureOutputMode,
    {velmora::VelmoraCaptureOutputMode::reviewInVelmora, "reviewInVelmora"},
    {velmora::VelmoraCaptureOutputMode::copyCleanedPNG, "copyCleanedPNG"},
    {velmora::VelmoraCaptureOutputMode::saveCleanedPNG, "saveCleanedPNG"},
    {velmora::VelmoraCaptureOutputMode::saveAndCopyCleanedPNG, "saveAndCopyCleanedPNG"});

VELMORA_RAW_ENUM(velmora::VelmoraAutoCleanSafetyMode,
    {velmora::VelmoraAutoCleanSafetyMode::reviewFirst, "reviewFirst"},
    {velmora::VelmoraAutoCleanSafetyMode::pauseIfUnsure, "pauseIfUnsure"},
    {velmora::VelmoraAutoCleanSafetyMode::autoCleanEverything, "autoCleanEverything"});
