#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

// The handle of a piece of work that runs later or elsewhere: whoever holds a copy
// may cancel it, and the work asks before each step whether it was cancelled, or
// leaves a handler that cancelling runs (to stop a child process, for example).
// Copies share one state, which any thread may set and read; handlers run on the
// cancelling thread. Two handles are equal when they name the same work.
class TaskHandle
{
public:
    TaskHandle() : m_state(std::make_shared<State>()) {}

    /// Marks the work cancelled and runs its cancellation handlers, once.
    void cancel() const
    {
        if (m_state->cancelled.exchange(true, std::memory_order_acq_rel))
            return;
        std::vector<std::function<void()>> handlers;
        {
            const std::lock_guard lock(m_state->mutex);
            handlers = std::exchange(m_state->handlers, {});
        }
        for (const auto &handler : handlers)
            handler();
    }
    bool isCancelled() const { return m_state->cancelled.load(std::memory_order_acquire); }
    /// Runs `handler` when the work is cancelled; at once when it already is.
    void onCancel(std::function<void()> handler) const
    {
        {
            const std::lock_guard lock(m_state->mutex);
            if (!m_state->cancelled.load(std::memory_order_acquire)) {
                m_state->handlers.push_back(std::move(handler));
                return;
            }
        }
        handler();
    }

    friend bool operator==(const TaskHandle &left, const TaskHandle &right) { return left.m_state == right.m_state; }

private:
    struct State
    {
        std::atomic<bool> cancelled{false};
        std::mutex mutex;
        std::vector<std::function<void()>> handlers;
    };

    std::shared_ptr<State> m_state;
};

/// Cancels the work `task` names, if any, and lets go of it.
inline void cancelAndForget(std::optional<TaskHandle> &task)
{
    if (task)
        task->cancel();
    task.reset();
}

} // namespace velmora
