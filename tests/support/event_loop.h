#pragma once

#include <QCoreApplication>

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

} // namespace velmora::test
