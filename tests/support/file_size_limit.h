#pragma once

#include <csignal>
#include <sys/resource.h>

namespace velmora::test {

// While it lives, the kernel refuses to let this process make any file larger than
// `bytes` (it fails the write with EFBIG, as a full disk fails it with ENOSPC), on every
// thread; the limit and the signal it would raise are put back when it goes.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        rlimit limited = m_limit;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_limit);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_limit{};
    void (*m_signal)(int) = nullptr;
};

} // namespace velmora::test
