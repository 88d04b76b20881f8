#pragma once

#include "core/protection/protection_status.h"

namespace velmora {

class StoredSettings;

/// The protection summary's snapshot of the stored settings: an unknown output mode
/// reads as review, a folder counts as selected when its stored path is not empty,
/// the shortcuts count as enabled when any slot is assigned, the policy name is the
/// parsed preset's title (empty for none) and only the exact source "managed" is
/// managed. `captureAllowed` is the screen capture preflight's answer.
ScreenshotProtectionStatusInput protectionStatusInput(const StoredSettings &settings, bool captureAllowed);

} // namespace velmora
