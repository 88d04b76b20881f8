#include "watched_fifo.h"

#include <QFile>

#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::test {

WatchedFifo::WatchedFifo(QString path) : m_path(std::move(path))
{
    m_exists = ::mkfifo(QFile::encodeName(m_path).constData(), 0600) == 0;
    if (m_exists)
        m_watch = std::thread([this] { watch(); });
}

WatchedFifo::~WatchedFifo()
{
    m_stopping = true;
    if (m_watch.joinable())
        m_watch.join();
    if (m_exists)
        QFile::remove(m_path);
}

void WatchedFifo::watch()
{
    const QByteArray name = QFile::encodeName(m_path);
    while (!m_stopping) {
        // Without a reader the open fails at once; with one (even one still blocked in
        // its own open) it succeeds and lets that reader go on.
        const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            m_opened = true;
            ::close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

} // namespace velmora::test
