#pragma once

#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/support/work_pools.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace velmora::test {

/// Delivers everything posted so far and whatever that posts in turn (continuations
/// of finished futures arrive this way), without waiting for anything to happen.
inline void drainEvents(int rounds = 8)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

/// Lets the application's work on its pools (WorkPools, and the recognition's threads)
/// end and delivers what it posts, and so on for the work that this starts in turn (a
/// file read, then its decode), a few steps deep. Qt's global pool is not waited for.
inline void finishApplicationWork(int steps = 4)
{
    for (int i = 0; i < steps; ++i) {
        WorkPools::waitForDone();
        TesseractEnginePool::threads().waitForDone();
        drainEvents();
    }
}

/// The same, with the work of Qt's global pool (a test's own) as well.
inline void finishPoolWork(int steps = 4)
{
    for (int i = 0; i < steps; ++i) {
        QThreadPool::globalInstance()->waitForDone();
        finishApplicationWork(1);
    }
}

} // namespace velmora::test
