#pragma once

#include "core/support/raw_enum.h"

#include <QString>

#include <optional>

namespace velmora {

/// What a capture takes. Shared by the hot keys, the capture service, the menus and the window.
enum class VelmoraCaptureMode { screen, window, area };

/// Every user-facing text and fixed number that belongs to a capture mode.
struct CaptureModeInfo
{
    QString title;
    QString menuTitle;
    QString systemImageName;
    QString sourceLabel;
    QString statusHint; ///< The status line while the capture runs.
    bool isInteractive = false; ///< The user picks a window or drags an area first.
    int hotKeyID = 0;
};

CaptureModeInfo captureModeInfo(VelmoraCaptureMode mode);
/// 1 gives area, 2 window, 3 screen; any other number no mode.
std::optional<VelmoraCaptureMode> captureModeFromHotKeyID(int hotKeyID);
/// Shown when screen capture is not available to Velmora.
QString capturePermissionExplanation();

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCaptureMode,
    {velmora::VelmoraCaptureMode::screen, "screen"}, {velmora::VelmoraCaptureMode::window, "window"},
    {velmora::VelmoraCaptureMode::area, "area"});
