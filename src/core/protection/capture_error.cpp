#include "core/protection/capture_error.h"

namespace velmora {

QString description(VelmoraCaptureError error)
{
    switch (error) {
    case VelmoraCaptureError::captureToolUnavailable:
        return QStringLiteral("The screen capture tool (maim) is unavailable.");
    case VelmoraCaptureError::permissionDenied:
        return QStringLiteral("Screen capture permission is not enabled for Velmora.");
    case VelmoraCaptureError::canceled:
        return QStringLiteral("Capture was canceled.");
    case VelmoraCaptureError::outputMissing:
        return QStringLiteral("No capture image was created.");
    case VelmoraCaptureError::failed:
        return QStringLiteral("Capture failed.");
    }
    return {};
}

} // namespace velmora
