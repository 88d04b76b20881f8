#pragma once

#include "app/shell/clock.h"

#include <cstdint>
#include <map>
#include <memory>

namespace velmora::test {

// A clock that stands still until the test advances it. Advancing fires every timer
// that falls due on the way, in the order of their due times (then of their
// creation), with now() reading each timer's due time while it runs.
class ManualClock : public Clock
{
public:
    ManualClock();

    TimePoint now() const override;
    std::unique_ptr<ClockTimer> singleShot(std::chrono::milliseconds delay, Callback onTimeout) override;
    std::unique_ptr<ClockTimer> repeating(std::chrono::milliseconds interval, Callback onTick) override;

    void advance(std::chrono::milliseconds by);
    /// Time passed since the clock was made.
    std::chrono::milliseconds elapsed() const;
    /// Timers still running.
    int activeTimerCount() const;

    struct State;

private:
    std::unique_ptr<ClockTimer> schedule(std::chrono::milliseconds interval, bool repeats, Callback callback);

    std::shared_ptr<State> m_state;
};

} // namespace velmora::test
