#include "core/protection/capture_mode.h"

namespace velmora {

CaptureModeInfo captureModeInfo(VelmoraCaptureMode mode)
{
    switch (mode) {
    case VelmoraCaptureMode::screen:
        return {QStringLiteral("Capture screen"), QStringLiteral("Capture Entire Screen"), QStringLiteral("display"),
                QStringLiteral("Screen capture"),
                QStringLiteral("Capturing the screen locally. Velmora may need screen capture access from your desktop."),
                false, 3};
    case VelmoraCaptureMode::window:
        return {QStringLiteral("Capture window"), QStringLiteral("Capture Window..."), QStringLiteral("macwindow"),
                QStringLiteral("Window capture"),
                QStringLiteral("Choose a window to capture. Velmora will scan the temporary PNG locally."), true, 2};
    case VelmoraCaptureMode::area:
        return {QStringLiteral("Capture area"), QStringLiteral("Capture Area..."), QStringLiteral("rectangle.dashed"),
                QStringLiteral("Area capture"),
                QStringLiteral("Drag to select an area. Velmora will scan the temporary PNG locally."), true, 1};
    }
    return {};
}

std::optional<VelmoraCaptureMode> captureModeFromHotKeyID(int hotKeyID)
{
    for (const VelmoraCaptureMode mode : allCases<VelmoraCaptureMode>()) {
        if (captureModeInfo(mode).hotKeyID == hotKeyID)
            return mode;
    }
    return std::nullopt;
}

QString capturePermissionExplanation()
{
    return QStringLiteral("Velmora uses screen capture only to create a local temporary image for review. It does "
                          "not intercept the desktop's screenshot shortcuts or send captures to a server.");
}

} // namespace velmora
