#pragma once

#include "core/support/raw_enum.h"

#include <QString>

namespace velmora {

/// Why the screen capture tool gave no image.
enum class VelmoraCaptureError {
    captureToolUnavailable, ///< No capture tool, or no X11 display for it.
    permissionDenied,       ///< Screen capture is not allowed.
    canceled,               ///< The tool ended without success (the user gave up, or it failed).
    outputMissing,          ///< The tool succeeded but wrote no image.
    failed,                 ///< The tool could not be started.
};

/// The fixed sentence of each case.
QString description(VelmoraCaptureError error);

} // namespace velmora

VELMORA_RAW_ENUM(velmora::VelmoraCaptureError,
    {velmora::VelmoraCaptureError::captureToolUnavailable, "captureToolUnavailable"},
    {velmora::VelmoraCaptureError::permissionDenied, "permissionDenied"},
    {velmora::VelmoraCaptureError::canceled, "canceled"},
    {velmora::VelmoraCaptureError::outputMissing, "outputMissing"},
    {velmora::VelmoraCaptureError::failed, "failed"});
