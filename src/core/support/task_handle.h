#pragma once

#include <memory>

namespace velmora {

// The handle of a piece of work that runs later or elsewhere: whoever holds a copy
// may cancel it, and the work asks before each step whether it was cancelled.
// Copies share one flag; two handles are equal when they name the same work.
class TaskHandle
{
public:
    TaskHandle() : m_cancelled(std::make_shared<bool>(false)) {}

    void cancel() const { *m_cancelled = true; }
    bool isCancelled() const { return *m_cancelled; }

    friend bool operator==(const TaskHandle &, const TaskHandle &) = default;

private:
    std::shared_ptr<bool> m_cancelled;
};

} // namespace velmora
