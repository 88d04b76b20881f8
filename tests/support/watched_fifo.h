#pragma once

#include <QString>

#include <atomic>
#include <thread>

namespace velmora::test {

// A named pipe that tells whether anything opened it for reading. Opening a pipe that
// has no writer blocks the reader until one comes: the watch is that writer, so code
// that wrongly opens the pipe goes on (and the test fails) instead of hanging.
class WatchedFifo
{
public:
    explicit WatchedFifo(QString path);
    ~WatchedFifo();
    WatchedFifo(const WatchedFifo &) = delete;
    WatchedFifo &operator=(const WatchedFifo &) = delete;

    /// Whether the pipe was made.
    bool exists() const { return m_exists; }
    const QString &path() const { return m_path; }
    /// Whether anything has opened the pipe for reading so far.
    bool wasOpened() const { return m_opened; }

private:
    void watch();

    const QString m_path;
    bool m_exists = false;
    std::atomic<bool> m_opened = false;
    std::atomic<bool> m_stopping = false;
    std::thread m_watch;
};

} // namespace velmora::test
