#pragma once

#include "core/support/clock.h"

#include <QDateTime>

#include <vector>

namespace velmora::test {

// A clock that moves only when the test says so. Delayed actions run from advance(),
// in the order of their due time (then of scheduling), each at its own moment, so
// an action may schedule further work that falls due within the same advance.
class ManualClock : public Clock
{
public:
    explicit ManualClock(QDateTime start = QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC));

    QDateTime now() const override;
    TaskHandle schedule(std::chrono::milliseconds delay, std::function<void()> action) override;

    /// Moves time forward by `step`, running every action that falls due.
    void advance(std::chrono::milliseconds step);
    /// Actions scheduled and neither run nor cancelled.
    int pendingCount() const;

private:
    struct Pending
    {
        QDateTime due;
        quint64 order = 0;
        TaskHandle handle;
        std::function<void()> action;
    };

    QDateTime m_now;
    quint64 m_nextOrder = 0;
    std::vector<Pending> m_pending;
};

} // namespace velmora::test
