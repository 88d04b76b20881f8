#pragma once

#include "core/support/work_pools.h"
#include "support/event_loop.h"

#include <QDeadlineTimer>
#include <QList>
#include <QSemaphore>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace velmora::test {

// Holds the only thread of each pool given (the application's pools unless told) until
// opened, so that work queued on them waits: the test decides when off-thread work
// runs. The pools get their thread counts back when the gate goes. Each wait has the
// deadline of `workDeadline` and fails the test when it passes.
class ThreadPoolGate
{
public:
    explicit ThreadPoolGate(QList<QThreadPool *> pools = WorkPools::all()) : m_pools(std::move(pools))
    {
        const QDeadlineTimer deadline(workDeadline);
        for (QThreadPool *pool : std::as_const(m_pools)) {
            m_maxThreadCounts.append(pool->maxThreadCount());
            if (!pool->waitForDone(int(deadline.remainingTime())))
                ADD_FAILURE() << "A pool's earlier work had not ended after " << workDeadline.count() << " s, when the gate was to close";
            pool->setMaxThreadCount(1);
            pool->start([this] {
                m_holding.release();
                m_gate.acquire();
            });
        }
        // Closed only once every pool's thread is held, not merely asked for.
        if (!m_holding.tryAcquire(int(m_pools.size()), int(deadline.remainingTime())))
            ADD_FAILURE() << "The gate had not got hold of its pools' threads after " << workDeadline.count() << " s";
    }
    ~ThreadPoolGate()
    {
        open();
        for (qsizetype i = 0; i < m_pools.size(); ++i)
            m_pools[i]->setMaxThreadCount(m_maxThreadCounts[i]);
    }
    ThreadPoolGate(const ThreadPoolGate &) = delete;
    ThreadPoolGate &operator=(const ThreadPoolGate &) = delete;

    /// Lets the queued work run and waits until all of it has ended.
    void open()
    {
        if (!m_opened) {
            m_opened = true;
            m_gate.release(int(m_pools.size()));
        }
        const QDeadlineTimer deadline(workDeadline);
        for (QThreadPool *pool : std::as_const(m_pools)) {
            if (!pool->waitForDone(int(deadline.remainingTime())))
                ADD_FAILURE() << "The work let through the gate had not ended after " << workDeadline.count() << " s";
        }
    }

private:
    QList<QThreadPool *> m_pools;
    QList<int> m_maxThreadCounts;
    QSemaphore m_holding;
    QSemaphore m_gate;
    bool m_opened = false;
};

} // namespace velmora::test
