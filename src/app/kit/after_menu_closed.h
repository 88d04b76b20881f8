#pragma once

#include <functional>

class QObject;

namespace velmora {

/// Runs `work` on a later turn of the event loop, once the menu whose item has just been
/// chosen is off the screen: the display server has taken it down and the windows it
/// covered have been painted again, so that a screenshot taken by `work` does not show
/// it. Nothing runs once `context` is gone.
void runAfterMenuClosed(QObject *context, std::function<void()> work);

} // namespace velmora
