#pragma once

#include "core/support/task_handle.h"

#include <QDateTime>

#include <chrono>
#include <functional>

namespace velmora {

// Time as controllers see it: the current moment, and work that runs once after a
// delay on the thread that scheduled it. The application uses the system's clock;
// tests use a manual clock and advance it instead of sleeping.
class Clock
{
public:
    virtual ~Clock() = default;

    virtual QDateTime now() const = 0;
    /// Runs `action` once after `delay` unless the returned handle is cancelled first.
    virtual TaskHandle schedule(std::chrono::milliseconds delay, std::function<void()> action) = 0;
};

} // namespace velmora
