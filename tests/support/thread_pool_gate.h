#pragma once

#include <QSemaphore>
#include <QThreadPool>

namespace velmora::test {

// Holds the global thread pool's only thread until opened, so that work queued on the
// pool waits: the test decides when off-thread work runs. The pool gets its thread
// count back when the gate goes.
class ThreadPoolGate
{
public:
    ThreadPoolGate() : m_maxThreadCount(QThreadPool::globalInstance()->maxThreadCount())
    {
        QThreadPool *pool = QThreadPool::globalInstance();
        pool->waitForDone();
        pool->setMaxThreadCount(1);
        pool->start([this] { m_gate.acquire(); });
    }
    ~ThreadPoolGate()
    {
        open();
        QThreadPool::globalInstance()->setMaxThreadCount(m_maxThreadCount);
    }
    ThreadPoolGate(const ThreadPoolGate &) = delete;
    ThreadPoolGate &operator=(const ThreadPoolGate &) = delete;

    /// Lets the queued work run and waits until all of it has ended.
    void open()
    {
        if (!m_opened) {
            m_opened = true;
            m_gate.release();
        }
        QThreadPool::globalInstance()->waitForDone();
    }

private:
    int m_maxThreadCount;
    QSemaphore m_gate;
    bool m_opened = false;
};

} // namespace velmora::test
