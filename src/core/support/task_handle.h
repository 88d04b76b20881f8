#pragma once

#include <atomic>
#include <memory>
#include <optional>

namespace velmora {

// The handle of a piece of work that runs later or elsewhere: whoever holds a copy
// may cancel it, and the work asks before each step whether it was cancelled.
// Copies share one flag, which any thread may set and read; two handles are equal
// when they name the same work.
class TaskHandle
{
public:
    TaskHandle() : m_cancelled(std::make_shared<std::atomic<bool>>(false)) {}

    void cancel() const { m_cancelled->store(true, std::memory_order_release); }
    bool isCancelled() const { return m_cancelled->load(std::memory_order_acquire); }

    friend bool operator==(const TaskHandle &, const TaskHandle &) = default;

private:
    std::shared_ptr<std::atomic<bool>> m_cancelled;
};

/// Cancels the work `task` names, if any, and lets go of it.
inline void cancelAndForget(std::optional<TaskHandle> &task)
{
    if (task)
        task->cancel();
    task.reset();
}

} // namespace velmora
