#include "support/manual_clock.h"

#include <algorithm>

namespace velmora::test {

ManualClock::ManualClock(QDateTime start) : m_now(std::move(start)) {}

QDateTime ManualClock::now() const
{
    return m_now;
}

TaskHandle ManualClock::schedule(std::chrono::milliseconds delay, std::function<void()> action)
{
    TaskHandle handle;
    m_pending.push_back({m_now.addMSecs(delay.count()), m_nextOrder++, handle, std::move(action)});
    return handle;
}

void ManualClock::advance(std::chrono::milliseconds step)
{
    const QDateTime target = m_now.addMSecs(step.count());
    for (;;) {
        std::erase_if(m_pending, [](const Pending &p) { return p.handle.isCancelled(); });
        auto next = std::min_element(m_pending.begin(), m_pending.end(), [](const Pending &a, const Pending &b) {
            return a.due != b.due ? a.due < b.due : a.order < b.order;
        });
        if (next == m_pending.end() || next->due > target)
            break;
        Pending due = std::move(*next);
        m_pending.erase(next);
        m_now = due.due;
        due.action();
    }
    m_now = target;
}

int ManualClock::pendingCount() const
{
    return int(std::count_if(m_pending.begin(), m_pending.end(),
                             [](const Pending &p) { return !p.handle.isCancelled(); }));
}

} // namespace velmora::test
