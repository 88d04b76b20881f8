#pragma once

#include "core/support/write_steps.h"

#include <functional>

namespace velmora::test {

/// Runs `write` in a child process that stops the `nth` time it reaches `step` and is
/// killed there with SIGKILL, as a crash or a pulled-out stick would stop it. Whether it
/// reached the step (false: `write` ended without reaching it, and the child with it).
/// Fails the test when the child neither reaches the step nor ends within a minute.
bool writeKilledAtStep(WriteStep step, int nth, const std::function<void()> &write);

} // namespace velmora::test
