#include "manual_clock.h"

namespace velmora::test {

struct ManualClock::State
{
    struct Entry
    {
        TimePoint due;
        std::chrono::milliseconds interval;
        bool repeats = false;
        Callback callback;
    };

    TimePoint start{std::chrono::hours(1)};
    TimePoint now = start;
    std::uint64_t nextId = 0;
    std::map<std::uint64_t, Entry> entries; // By id, that is by creation.
};

namespace {

class ManualTimer : public ClockTimer
{
public:
    ManualTimer(std::weak_ptr<ManualClock::State> state, std::uint64_t id) : m_state(std::move(state)), m_id(id) {}
    ~ManualTimer() override
    {
        if (const auto state = m_state.lock())
            state->entries.erase(m_id);
    }

private:
    std::weak_ptr<ManualClock::State> m_state;
    std::uint64_t m_id;
};

} // namespace

ManualClock::ManualClock() : m_state(std::make_shared<State>()) {}

Clock::TimePoint ManualClock::now() const
{
    return m_state->now;
}

std::unique_ptr<ClockTimer> ManualClock::singleShot(std::chrono::milliseconds delay, Callback onTimeout)
{
    return schedule(delay, false, std::move(onTimeout));
}

std::unique_ptr<ClockTimer> ManualClock::repeating(std::chrono::milliseconds interval, Callback onTick)
{
    return schedule(interval, true, std::move(onTick));
}

std::unique_ptr<ClockTimer> ManualClock::schedule(std::chrono::milliseconds interval, bool repeats, Callback callback)
{
    const std::uint64_t id = m_state->nextId++;
    m_state->entries.emplace(id, State::Entry{m_state->now + interval, interval, repeats, std::move(callback)});
    return std::make_unique<ManualTimer>(m_state, id);
}

void ManualClock::advance(std::chrono::milliseconds by)
{
    const TimePoint target = m_state->now + by;
    for (;;) {
        auto next = m_state->entries.end();
        for (auto it = m_state->entries.begin(); it != m_state->entries.end(); ++it) {
            if (it->second.due <= target && (next == m_state->entries.end() || it->second.due < next->second.due))
                next = it;
        }
        if (next == m_state->entries.end())
            break;
        m_state->now = next->second.due;
        // The callback may drop its own handle (or others): run a copy, after the bookkeeping.
        Callback callback = next->second.callback;
        if (next->second.repeats && next->second.interval.count() > 0)
            next->second.due += next->second.interval;
        else
            m_state->entries.erase(next);
        callback();
    }
    m_state->now = target;
}

std::chrono::milliseconds ManualClock::elapsed() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(m_state->now - m_state->start);
}

int ManualClock::activeTimerCount() const
{
    return static_cast<int>(m_state->entries.size());
}

} // namespace velmora::test
