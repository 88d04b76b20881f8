#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace velmora {

/// A running timer. Destroying the handle cancels it: a cancelled timer never fires again.
class ClockTimer
{
public:
    virtual ~ClockTimer() = default;
};

// Time and delays of the main thread: poll intervals, settle times, undo windows,
// banner timers. The application uses the system clock with Qt timers; tests a
// manual clock that they advance, so that no test waits on real time.
class Clock
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Callback = std::function<void()>;

    virtual ~Clock() = default;

    virtual TimePoint now() const = 0;
    /// Calls `onTimeout` once, `delay` from now, unless the handle is gone first.
    [[nodiscard]] virtual std::unique_ptr<ClockTimer> singleShot(std::chrono::milliseconds delay, Callback onTimeout) = 0;
    /// Calls `onTick` every `interval`, the first time one interval from now, until the handle is gone.
    [[nodiscard]] virtual std::unique_ptr<ClockTimer> repeating(std::chrono::milliseconds interval, Callback onTick) = 0;
};

} // namespace velmora
