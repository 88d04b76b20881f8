#pragma once

#include <csignal>
#include <sys/resource.h>

namespace velmora::test {

// While it lives, the kernel lets no thread of this process make a file larger than
// `bytes`: the write fails part-way (EFBIG), as on a disk that fills up.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : m_signal(std::signal(SIGXFSZ, SIG_IGN))
    {
        ::getrlimit(RLIMIT_FSIZE, &m_limit);
        const rlimit limited{bytes, m_limit.rlim_max};
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
    void (*m_signal)(int);
    rlimit m_limit{};
};

} // namespace velmora::test
