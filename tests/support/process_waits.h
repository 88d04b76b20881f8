#pragma once

#include "support/event_loop.h"

#include <QProcess>

namespace velmora::test {

/// Waits until `process` has started; true when it has. Fails the test, naming its
/// program, when it is still starting at the work deadline; one that cannot start (not
/// installed) is left to the caller.
inline bool waitUntilStarted(QProcess &process)
{
    if (process.waitForStarted(workDeadlineMs))
        return true;
    if (process.state() == QProcess::Starting)
        failWaitingFor(process.program().toStdString() + " to start");
    return false;
}

/// Waits until `process` has ended; true when it has. Fails the test, naming its program,
/// when it still runs at the work deadline; one that never ran is left to the caller.
inline bool waitUntilEnded(QProcess &process)
{
    if (process.waitForFinished(workDeadlineMs))
        return true;
    if (process.state() != QProcess::NotRunning)
        failWaitingFor(process.program().toStdString() + " to end");
    return false;
}

} // namespace velmora::test
