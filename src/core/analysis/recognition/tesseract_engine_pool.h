#pragma once

#include "core/analysis/recognition/tesseract_engine.h"
#include "core/support/task_handle.h"

#include <QMutex>
#include <QThreadPool>
#include <QWaitCondition>

#include <memory>
#include <vector>

namespace velmora {

class TesseractEnginePool;

/// An engine borrowed from a pool; goes back when the lease ends.
class TesseractEngineLease
{
public:
    TesseractEngineLease(TesseractEnginePool *pool, std::unique_ptr<TesseractEngine> engine);
    ~TesseractEngineLease();
    TesseractEngineLease(TesseractEngineLease &&) noexcept = default;
    TesseractEngineLease &operator=(TesseractEngineLease &&) = delete;

    TesseractEngine &engine() const { return *m_engine; }

private:
    TesseractEnginePool *m_pool;
    std::unique_ptr<TesseractEngine> m_engine;
};

// Tesseract engines are costly to start and not thread-safe, so each runs one
// recognition at a time and is kept for the next one. A pool starts engines as
// concurrent recognitions need them, up to its capacity, and makes further callers
// wait for a free one. One pool per dictionary setting serves the whole process until
// `SharedEnginePoolsScope` ends them, before `main` returns: an engine ended later, by
// the exit handlers, may find Tesseract's own static state already gone.
class TesseractEnginePool
{
public:
    /// The process's pool for engines with or without the word dictionaries; its
    /// capacity is the number of processor cores.
    static TesseractEnginePool &shared(bool usesLanguageCorrection);
    /// Shuts both shared pools down (see `shutDown`), then waits for the regions still
    /// queued on `threads()`, which find no engine and end at once.
    static void shutDownShared();

    /// The threads that run the engines, one per processor core. Recognitions hand
    /// their regions to these threads and wait for them; being apart from Qt's global
    /// pool, they stay free even when every global thread waits on a recognition.
    static QThreadPool &threads();

    TesseractEnginePool(bool usesLanguageCorrection, int capacity);
    TesseractEnginePool(const TesseractEnginePool &) = delete;
    TesseractEnginePool &operator=(const TesseractEnginePool &) = delete;

    /// Ends the pool with its work: from now on no borrower gets an engine, those
    /// waiting for one included; the engines out on lease are waited for (a cancelled
    /// recognition gives its engine back at its next word), then every engine ends.
    /// Calling it again does nothing.
    void shutDown();
    bool isShutDown() const;

    /// A free engine, started if none is idle and the capacity allows, else the next
    /// one returned. Nothing when a new engine fails to start, when the pool is shut
    /// down, or when `task` is found cancelled on arrival or on waking (a returned
    /// engine then goes to the next borrower).
    std::optional<TesseractEngineLease> acquire(const TaskHandle &task = {});

    bool usesLanguageCorrection() const { return m_usesLanguageCorrection; }
    int capacity() const { return m_capacity; }
    int startedEngines() const;
    /// Engines out on lease now, or being started for a borrower.
    int leasedEngines() const;
    /// Borrowers waiting for an engine to come back.
    int waitingBorrowers() const;

private:
    friend class TesseractEngineLease;
    void release(std::unique_ptr<TesseractEngine> engine);

    const bool m_usesLanguageCorrection;
    const int m_capacity;
    mutable QMutex m_mutex;
    QWaitCondition m_engineReturned;
    std::vector<std::unique_ptr<TesseractEngine>> m_idle;
    int m_started = 0;
    int m_waiting = 0;
    bool m_isShutDown = false;
};

/// Declared in `main` before the application's objects: when it ends, after them,
/// the shared engine pools end with their work.
class SharedEnginePoolsScope
{
public:
    SharedEnginePoolsScope() = default;
    ~SharedEnginePoolsScope() { TesseractEnginePool::shutDownShared(); }
    SharedEnginePoolsScope(const SharedEnginePoolsScope &) = delete;
    SharedEnginePoolsScope &operator=(const SharedEnginePoolsScope &) = delete;
};

} // namespace velmora
