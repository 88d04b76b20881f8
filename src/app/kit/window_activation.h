#pragma once

#include <functional>

class QWidget;

namespace velmora {

/// Shows the window (restoring it when minimised), raises it and gives it the focus.
void bringWindowToFront(QWidget &window);
/// Brings the application forward and then runs `callback` from the event loop. On X11
/// an application is activated through its windows, which the callback raises.
void activateAppAndPerformOnMain(std::function<void()> callback);

} // namespace velmora
