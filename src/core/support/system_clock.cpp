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
    // Qt's default for delays of two seconds and more is a coarse timer, which may fire
    // 5 % early: an undo promised for 8 seconds would end after 7.6.
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [timer, handle, action = std::move(action)] {
        timer->deleteLater();
        if (!handle.isCancelled())
            action();
    });
    timer->start(delay);
    return handle;
}

} // namespace velmora
