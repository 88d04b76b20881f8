#include "core/analysis/tesseract_engine_pool.h"

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
    static auto *const withDictionaries = new TesseractEnginePool(true, QThread::idealThreadCount());
    static auto *const withoutDictionaries = new TesseractEnginePool(false, QThread::idealThreadCount());
    return usesLanguageCorrection ? *withDictionaries : *withoutDictionaries;
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
    if (task.isCancelled())
        return std::nullopt;
    while (m_idle.empty() && m_started >= m_capacity) {
        ++m_waiting;
        m_engineReturned.wait(&m_mutex);
        --m_waiting;
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
    ++m_started;
    locker.unlock();
    // Starting an engine takes a while; others may borrow idle engines meanwhile.
    auto engine = TesseractEngine::create(m_usesLanguageCorrection);
    if (!engine) {
        locker.relock();
        --m_started;
        m_engineReturned.wakeOne();
        return std::nullopt;
    }
    return TesseractEngineLease(this, std::move(engine));
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
    m_idle.push_back(std::move(engine));
    m_engineReturned.wakeOne();
}

} // namespace velmora
