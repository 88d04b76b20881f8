#pragma once

#include "support/window_waits.h"

#include <QWidget>

namespace velmora::test {

/// Shows the window and makes it the active one, with or without a window manager:
/// once the X server has mapped it, the window asks for the input focus itself (a
/// window manager is asked to give it; with none, the server gives it directly).
/// Waits on the server's events, up to the work deadline. True when it is active.
inline bool showActive(QWidget &window)
{
    window.show();
    if (!waitUntilExposed(&window))
        return false;
    window.activateWindow();
    return waitUntilActive(&window);
}

} // namespace velmora::test
