#pragma once

#include <QString>
#include <QStringList>

namespace velmora::test {

/// Runs xdotool with `arguments` to its end (keys, clicks and pointer moves reach the
/// X server as real input); true when it succeeded.
bool xdotool(const QStringList &arguments);
/// What xdotool prints for `arguments`, trimmed; empty when it fails.
QString xdotoolOutput(const QStringList &arguments);
/// The X id of the first visible window whose title matches `titlePattern` (a regular
/// expression); empty when there is none.
QString windowTitled(const QString &titlePattern);
/// The same, once there is one; empty, failing the test, when none appears within the
/// work deadline.
QString waitForWindowTitled(const QString &titlePattern);
/// Gives the window the input focus, with or without a window manager, and waits until
/// the server has done so; true when it has.
bool focusWindow(const QString &windowID);

} // namespace velmora::test
