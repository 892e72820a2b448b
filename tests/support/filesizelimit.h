#pragma once

#include <csignal>
#include <sys/resource.h>

namespace testing {

// Lets this process write files only up to the given size while it lives, so
// that a copy fails part-way the way it does on a full disk (the write gets
// EFBIG instead of ENOSPC). Works for root too, unlike permission bits.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // Past the limit the kernel sends SIGXFSZ, which would end the test.
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace testing
