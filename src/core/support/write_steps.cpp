#include "core/support/write_steps.h"

#include <atomic>

namespace velmora {

namespace {

std::atomic<WriteStepHook> stepHook{nullptr};

} // namespace

void setWriteStepHook(WriteStepHook hook)
{
    stepHook.store(hook);
}

void reachWriteStep(WriteStep step)
{
    if (const WriteStepHook hook = stepHook.load())
        hook(step);
}

} // namespace velmora
