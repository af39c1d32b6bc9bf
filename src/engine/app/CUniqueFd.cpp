#include "app/CUniqueFd.h"

#include <cerrno>
#include <unistd.h>

void CUniqueFd::Reset(int fd) noexcept {
    if (m_fd >= 0) (void)::close(m_fd); // read-only or abandoned: nothing left to lose
    m_fd = fd;
}

int CUniqueFd::Close() noexcept {
    if (m_fd < 0) return 0;
    // Linux frees the descriptor even when close fails, so it is never retried.
    const int rc = ::close(std::exchange(m_fd, -1));
    return rc == 0 ? 0 : errno;
}
