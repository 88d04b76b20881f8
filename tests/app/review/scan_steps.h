#pragma once

#include "app/review/review_controller.h"

#include "support/event_loop.h"

namespace velmora::test {

/// Delivers what has finished, as drainEvents does, and lets the batch scan's decodes end
/// and start their scans, so that the engine has every call the batch makes by now.
inline void drainScans(const ReviewController &controller)
{
    drainEvents();
    while (controller.batchScan().isDecoding()) {
        controller.batchScan().waitForDecodes();
        drainEvents();
    }
}

} // namespace velmora::test
