#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

// The handle of a piece of work that runs later or elsewhere: whoever holds a copy
// may cancel it, and the work asks before each step whether it was cancelled, or
// leaves a handler that cancelling runs (to stop a child process, for example).
// Copies share one state; two handles are equal when they name the same work.
// Cancelling and the handlers belong to the thread that owns the work.
class TaskHandle
{
public:
    TaskHandle() : m_state(std::make_shared<State>()) {}

    /// Marks the work cancelled and runs its cancellation handlers, once.
    void cancel() const
    {
        if (m_state->cancelled)
            return;
        m_state->cancelled = true;
        const auto handlers = std::exchange(m_state->handlers, {});
        for (const auto &handler : handlers)
            handler();
    }
    bool isCancelled() const { return m_state->cancelled; }
    /// Runs `handler` when the work is cancelled; at once when it already is.
    void onCancel(std::function<void()> handler) const
    {
        if (m_state->cancelled)
            handler();
        else
            m_state->handlers.push_back(std::move(handler));
    }

    friend bool operator==(const TaskHandle &left, const TaskHandle &right) { return left.m_state == right.m_state; }

private:
    struct State
    {
        bool cancelled = false;
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
