#pragma once

#include <unistd.h>

#include <utility>

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int fd() const { return m_fd; }
    // Given up, for a close whose failure counts.
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};
