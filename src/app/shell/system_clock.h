#pragma once

#include "app/shell/clock.h"

namespace velmora {

// The real clock: a monotonic now and Qt timers on the calling (main) thread's event loop.
class SystemClock : public Clock
{
public:
    TimePoint now() const override;
    std::unique_ptr<ClockTimer> singleShot(std::chrono::milliseconds delay, Callback onTimeout) override;
    std::unique_ptr<ClockTimer> repeating(std::chrono::milliseconds interval, Callback onTick) override;
};

} // namespace velmora
