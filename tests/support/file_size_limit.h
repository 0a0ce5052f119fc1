#pragma once

#include <sys/resource.h>

#include <csignal>
#include <stdexcept>

namespace tarvex {

// While it lives, this process may write no file beyond `bytes`: a write past the limit fails
// with EFBIG instead of raising SIGXFSZ. Unlike permissions, the limit binds root as well, so it
// stands for a disk that fills up half-way through a write.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        if (::getrlimit(RLIMIT_FSIZE, &m_previous) != 0) {
            throw std::runtime_error("getrlimit failed");
        }
        m_previous_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_previous;
        limited.rlim_cur = bytes;
        if (::setrlimit(RLIMIT_FSIZE, &limited) != 0) {
            std::signal(SIGXFSZ, m_previous_handler);
            throw std::runtime_error("setrlimit failed");
        }
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previous_handler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_previous{};
    void (*m_previous_handler)(int) = SIG_DFL;
};

}  // namespace tarvex
