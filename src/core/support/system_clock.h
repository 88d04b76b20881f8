#pragma once

#include "core/support/clock.h"

#include <QObject>

namespace velmora {

// The system's clock: QDateTime for the time, precise single-shot QTimers (its children)
// for delays, which never run early. A delayed action is dropped when the clock itself
// is destroyed first.
class SystemClock : public QObject, public Clock
{
    Q_OBJECT
public:
    explicit SystemClock(QObject *parent = nullptr);

    QDateTime now() const override;
    TaskHandle schedule(std::chrono::milliseconds delay, std::function<void()> action) override;
};

} // namespace velmora
