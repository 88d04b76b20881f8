#pragma once

#include "core/analysis/recognition/tesseract_engine_pool.h"
#include "core/support/work_pools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string_view>
#include <utility>

namespace velmora::test {

/// How long a test waits for the work it started before it fails, saying what it waited
/// for: far longer than any test's work takes in the sanitizer build on a slow machine,
/// and well within the per-test timeout of ctest (tests/CMakeLists.txt).
inline constexpr std::chrono::seconds workDeadline{120};
/// The same in the milliseconds Qt's own waits take.
inline constexpr int workDeadlineMs = int(std::chrono::milliseconds(workDeadline).count());

/// Fails the test, saying what it waited `deadline` for in vain; false, for the wait to return.
inline bool failWaitingFor(std::string_view what, std::chrono::milliseconds deadline = workDeadline)
{
    ADD_FAILURE() << "Waited " << deadline.count() / 1000.0 << " s in vain for " << what;
    return false;
}

/// Delivers everything posted so far and whatever that posts in turn (continuations
/// of finished futures arrive this way), without waiting for anything to happen.
inline void drainEvents(int rounds = 8)
{
    for (int i = 0; i < rounds; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

/// Delivers events until `condition` holds; fails the test, naming what it waited for,
/// when the deadline comes first.
inline bool waitUntil(const std::function<bool()> &condition, std::string_view what,
                      std::chrono::milliseconds deadline = workDeadline)
{
    return QTest::qWaitFor(condition, int(deadline.count())) || failWaitingFor(what, deadline);
}

/// A pool that tests wait for, with the name a failure gives it.
using NamedPool = std::pair<QThreadPool *, const char *>;

/// Waits until the pools have no work left, delivering what their work posts, for as
/// long as that starts more work (a file read, then its decode, then its scan); fails
/// the test, naming the pool still busy, when the deadline comes first.
inline bool finishWorkOn(const QList<NamedPool> &pools, std::chrono::milliseconds deadline = workDeadline)
{
    const QDeadlineTimer timer(deadline);
    const auto idle = [](const NamedPool &pool) { return pool.first->activeThreadCount() == 0; };
    do {
        for (const auto &[pool, name] : pools) {
            if (!pool->waitForDone(int(timer.remainingTime()))) {
                ADD_FAILURE() << "The work on " << name << " had not ended after " << deadline.count() / 1000.0 << " s";
                return false;
            }
        }
        drainEvents();
        if (std::all_of(pools.begin(), pools.end(), idle))
            return true;
    } while (!timer.hasExpired());
    ADD_FAILURE() << "The work on the pools went on starting more work for " << deadline.count() / 1000.0 << " s";
    return false;
}

/// The application's pools: WorkPools and the recognition's threads.
inline QList<NamedPool> applicationPools()
{
    return {{&WorkPools::decoding(), "the decoding pool"},
            {&WorkPools::scanning(), "the scanning pool"},
            {&WorkPools::output(), "the output pool"},
            {&TesseractEnginePool::threads(), "the recognition's threads"}};
}

/// Lets the application's work end (see finishWorkOn). Qt's global pool is not waited for.
inline bool finishApplicationWork()
{
    return finishWorkOn(applicationPools());
}

/// The same, with the work of Qt's global pool (a test's own) as well.
inline bool finishPoolWork()
{
    return finishWorkOn(applicationPools() + QList<NamedPool>{{QThreadPool::globalInstance(), "Qt's global pool"}});
}

} // namespace velmora::test
