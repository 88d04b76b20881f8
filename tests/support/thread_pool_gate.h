#pragma once

#include "core/support/work_pools.h"

#include <QList>
#include <QSemaphore>
#include <QThreadPool>

namespace velmora::test {

// Holds the only thread of each pool given (the application's pools unless told) until
// opened, so that work queued on them waits: the test decides when off-thread work
// runs. The pools get their thread counts back when the gate goes.
class ThreadPoolGate
{
public:
    explicit ThreadPoolGate(QList<QThreadPool *> pools = WorkPools::all()) : m_pools(std::move(pools))
    {
        for (QThreadPool *pool : std::as_const(m_pools)) {
            m_maxThreadCounts.append(pool->maxThreadCount());
            pool->waitForDone();
            pool->setMaxThreadCount(1);
            pool->start([this] { m_gate.acquire(); });
        }
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
        for (QThreadPool *pool : std::as_const(m_pools))
            pool->waitForDone();
    }

private:
    QList<QThreadPool *> m_pools;
    QList<int> m_maxThreadCounts;
    QSemaphore m_gate;
    bool m_opened = false;
};

} // namespace velmora::test
