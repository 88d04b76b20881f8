#pragma once

#include <QTest>
#include <QWidget>

namespace velmora::test {

/// Shows the window and makes it the active one, with or without a window manager:
/// once the X server has mapped it, the window asks for the input focus itself (a
/// window manager is asked to give it; with none, the server gives it directly).
/// Waits on the server's events, never on a clock of its own. True when it is active.
inline bool showActive(QWidget &window)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

} // namespace velmora::test
