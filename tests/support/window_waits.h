#pragma once

#include "support/event_loop.h"

#include <QGuiApplication>
#include <QTest>
#include <QWidget>

#include <string>

namespace velmora::test {

/// Waits until the window system shows `window` (a QWindow, or a widget's window); fails
/// the test, naming the window's class, when the work deadline comes first.
template <typename Window>
bool waitUntilExposed(Window *window)
{
    return QTest::qWaitForWindowExposed(window, workDeadlineMs)
           || failWaitingFor(std::string(window->metaObject()->className()) + " to be exposed");
}

/// Waits until `window` is the active window; fails the test, naming the window's class,
/// when the work deadline comes first.
template <typename Window>
bool waitUntilActive(Window *window)
{
    return QTest::qWaitForWindowActive(window, workDeadlineMs)
           || failWaitingFor(std::string(window->metaObject()->className()) + " to be active");
}

/// Waits until the application is in front (`inFront`), or another one is; fails the test
/// when the work deadline comes first.
inline bool waitUntilInFront(bool inFront)
{
    return waitUntil([&] { return (QGuiApplication::applicationState() == Qt::ApplicationActive) == inFront; },
                     inFront ? "the application to come to the front" : "another application to come to the front");
}

/// Shows the window and makes it the active one, with or without a window manager:
/// once the X server has mapped it, the window asks for the input focus itself (a
/// window manager is asked to give it; with none, the server gives it directly).
/// True when it is active.
inline bool showActive(QWidget &window)
{
    window.show();
    if (!waitUntilExposed(&window))
        return false;
    window.activateWindow();
    return waitUntilActive(&window);
}

} // namespace velmora::test
