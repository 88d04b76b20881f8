#include "app/shell/system_clock.h"

#include <QTimer>

namespace velmora {

namespace {

class QtClockTimer : public ClockTimer
{
public:
    QtClockTimer(std::chrono::milliseconds interval, bool singleShot, Clock::Callback callback)
        : m_timer(new QTimer)
    {
        m_timer->setTimerType(Qt::PreciseTimer);
        m_timer->setSingleShot(singleShot);
        m_timer->setInterval(interval);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, std::move(callback));
        m_timer->start();
    }

    // The handle is often dropped from inside its own callback, while the timer is
    // still delivering its signal: stop it now, delete it once that delivery is over.
    ~QtClockTimer() override
    {
        m_timer->stop();
        m_timer->disconnect();
        m_timer->deleteLater();
    }

private:
    QTimer *m_timer;
};

} // namespace

Clock::TimePoint SystemClock::now() const
{
    return std::chrono::steady_clock::now();
}

std::unique_ptr<ClockTimer> SystemClock::singleShot(std::chrono::milliseconds delay, Callback onTimeout)
{
    return std::make_unique<QtClockTimer>(delay, true, std::move(onTimeout));
}

std::unique_ptr<ClockTimer> SystemClock::repeating(std::chrono::milliseconds interval, Callback onTick)
{
    return std::make_unique<QtClockTimer>(interval, false, std::move(onTick));
}

} // namespace velmora
