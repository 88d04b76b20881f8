#include "core/support/system_clock.h"

#include <QTimer>

namespace velmora {

SystemClock::SystemClock(QObject *parent) : QObject(parent) {}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTimeUtc();
}

TaskHandle SystemClock::schedule(std::chrono::milliseconds delay, std::function<void()> action)
{
    TaskHandle handle;
    QTimer::singleShot(delay, this, [handle, action = std::move(action)] {
        if (!handle.isCancelled())
            action();
    });
    return handle;
}

} // namespace velmora
