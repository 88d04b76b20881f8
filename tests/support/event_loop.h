#pragma once

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

/// Lets the work on the global thread pool end and delivers what it posts, and so on for
/// the work that this starts in turn (a file read, then its decode), a few steps deep.
inline void finishPoolWork(int steps = 4)
{
    for (int i = 0; i < steps; ++i) {
        QThreadPool::globalInstance()->waitForDone();
        drainEvents();
    }
}

} // namespace velmora::test
