#pragma once

#include "core/protection/capture_mode.h"

#include <QMetaObject>
#include <QObject>

#include <functional>

namespace velmora {

/// Asks for a capture of `mode`: posts velmoraCaptureRequested with the mode's raw
/// value as its object. The menus, the tray, the empty state and the hot keys use it.
void postCaptureRequest(VelmoraCaptureMode mode);

/// Calls `handler` with the mode of every capture request posted while `context`
/// lives. A request whose object names no mode is logged and dropped.
QMetaObject::Connection observeCaptureRequests(QObject *context, std::function<void(VelmoraCaptureMode)> handler);

} // namespace velmora
