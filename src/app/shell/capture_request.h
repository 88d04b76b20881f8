#pragma once

#include "core/protection/capture_mode.h"

namespace velmora {

/// Asks for a capture of `mode`: posts velmoraCaptureRequested with the mode's raw
/// value as its object. The menus, the tray, the empty state and the hot keys use it.
void postCaptureRequest(VelmoraCaptureMode mode);

} // namespace velmora
