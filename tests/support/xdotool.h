#pragma once

#include <QStringList>

namespace velmora::test {

/// Runs xdotool with `arguments` to its end (keys, clicks and pointer moves reach the
/// X server as real input); true when it succeeded.
bool xdotool(const QStringList &arguments);

} // namespace velmora::test
