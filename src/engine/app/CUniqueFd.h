#pragma once

#include <utility>

// Owns one file descriptor and closes it when it goes; -1 holds none.
class CUniqueFd {
public:
    CUniqueFd() = default;
    explicit CUniqueFd(int fd) noexcept : m_fd(fd) {}
    ~CUniqueFd() { Reset(); }
    CUniqueFd(CUniqueFd&& other) noexcept : m_fd(other.Release()) {}
    CUniqueFd& operator=(CUniqueFd&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    CUniqueFd(const CUniqueFd&) = delete;
    CUniqueFd& operator=(const CUniqueFd&) = delete;

    int Get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    [[nodiscard]] int Release() noexcept { return std::exchange(m_fd, -1); }
    // Closes the held descriptor, whose close result nobody asked for, and holds fd instead.
    void Reset(int fd = -1) noexcept;
    // Closes the descriptor where its result matters (a written file): 0 or the errno.
    [[nodiscard]] int Close() noexcept;

private:
    int m_fd = -1;
};
