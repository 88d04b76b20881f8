#include "core/analysis/recognition/tesseract_engine_pool.h"

#include "core/support/log_categories.h"

#include <QThread>

namespace velmora {

TesseractEngineLease::TesseractEngineLease(TesseractEnginePool *pool, std::unique_ptr<TesseractEngine> engine)
    : m_pool(pool), m_engine(std::move(engine))
{
}

TesseractEngineLease::~TesseractEngineLease()
{
    if (m_engine)
        m_pool->release(std::move(m_engine));
}

TesseractEnginePool &TesseractEnginePool::shared(bool usesLanguageCorrection)
{
    // Never destroyed: Tesseract frees an engine's word lists through a cache of its own
    // that is itself a static, made after these pools and so gone before them at exit.
    // The application ends their engines before that (SharedEnginePoolsScope).
    static auto *const withDictionaries = new TesseractEnginePool(true, QThread::idealThreadCount());
    static auto *const withoutDictionaries = new TesseractEnginePool(false, QThread::idealThreadCount());
    return usesLanguageCorrection ? *withDictionaries : *withoutDictionaries;
}

void TesseractEnginePool::shutDownShared()
{
    shared(true).shutDown();
    shared(false).shutDown();
    threads().waitForDone();
}

QThreadPool &TesseractEnginePool::threads()
{
    static QThreadPool pool;
    return pool; // sized to the processor cores by default
}

TesseractEnginePool::TesseractEnginePool(bool usesLanguageCorrection, int capacity)
    : m_usesLanguageCorrection(usesLanguageCorrection), m_capacity(std::max(1, capacity))
{
}

std::optional<TesseractEngineLease> TesseractEnginePool::acquire(const TaskHandle &task)
{
    QMutexLocker locker(&m_mutex);
    // A task cancelled on its way here takes no engine, not even an idle one.
    if (m_isShutDown || task.isCancelled())
        return std::nullopt;
    while (m_idle.empty() && m_started >= m_capacity) {
        ++m_waiting;
        m_engineReturned.wait(&m_mutex);
        --m_waiting;
        if (m_isShutDown) {
            // The shutdown waits for every borrower to leave.
            m_engineReturned.wakeAll();
            return std::nullopt;
        }
        if (task.isCancelled()) {
            // The wake-up was meant for someone who still wants the engine.
            m_engineReturned.wakeOne();
            return std::nullopt;
        }
    }
    if (!m_idle.empty()) {
        auto engine = std::move(m_idle.back());
        m_idle.pop_back();
        return TesseractEngineLease(this, std::move(engine));
    }
    const int number = ++m_started;
    locker.unlock();
    // Starting an engine takes a while; others may borrow idle engines meanwhile.
    auto engine = TesseractEngine::create(m_usesLanguageCorrection);
    if (engine && !isShutDown()) {
        qCInfo(lcOcr) << "Started OCR engine" << number << "of" << m_capacity;
        return TesseractEngineLease(this, std::move(engine));
    }
    // It failed to start, or the pool was shut down meanwhile (and waits for it to end).
    engine.reset();
    locker.relock();
    --m_started;
    m_engineReturned.wakeAll();
    return std::nullopt;
}

void TesseractEnginePool::shutDown()
{
    std::vector<std::unique_ptr<TesseractEngine>> idle;
    {
        QMutexLocker locker(&m_mutex);
        m_isShutDown = true;
        // Waiting borrowers leave empty-handed.
        m_engineReturned.wakeAll();
        idle = std::exchange(m_idle, {});
    }
    // Ended outside the lock, so that no borrower waits on an engine's end.
    const int ended = int(idle.size());
    idle.clear();
    QMutexLocker locker(&m_mutex);
    m_started -= ended;
    // The engines out on lease end as they come back; waiting borrowers leave.
    while (m_started > 0 || m_waiting > 0)
        m_engineReturned.wait(&m_mutex);
}

bool TesseractEnginePool::isShutDown() const
{
    QMutexLocker locker(&m_mutex);
    return m_isShutDown;
}

int TesseractEnginePool::startedEngines() const
{
    QMutexLocker locker(&m_mutex);
    return m_started;
}

int TesseractEnginePool::leasedEngines() const
{
    QMutexLocker locker(&m_mutex);
    return m_started - int(m_idle.size());
}

int TesseractEnginePool::waitingBorrowers() const
{
    QMutexLocker locker(&m_mutex);
    return m_waiting;
}

void TesseractEnginePool::release(std::unique_ptr<TesseractEngine> engine)
{
    QMutexLocker locker(&m_mutex);
    if (!m_isShutDown) {
        m_idle.push_back(std::move(engine));
        m_engineReturned.wakeOne();
        return;
    }
    // Back after the shutdown began: the engine ends before the shutdown may finish.
    locker.unlock();
    engine.reset();
    locker.relock();
    --m_started;
    m_engineReturned.wakeAll();
}

} // namespace velmora
