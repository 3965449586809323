#include "core/platform/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

private:
    int m_fd;
};

// Non-blocking, so that opening a named pipe returns at once instead of
// waiting for a writer; no controlling terminal from a tty either.
int openWithoutWaiting(const QString& path)
{
    return ::open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Up to largest + 1 bytes, so that a file that grew past the size is seen.
bool readUpTo(int fd, qint64 largest, qint64 expected, QByteArray& contents)
{
    contents.resize(std::min(expected, largest) + 1);
    qint64 done = 0;
    for (;;) {
        if (done == contents.size()) {
            if (done > largest)
                return false;
            contents.resize(std::min(2 * done, largest + 1));
        }
        const auto got = ::read(fd, contents.data() + done, size_t(contents.size() - done));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return false;
        done += std::max<qint64>(got, 0);
    }
    contents.resize(done);
    return true;
}

} // namespace

bool RegularFile::read(const QString& path, qint64 largest, QByteArray& contents)
{
    const Descriptor file(openWithoutWaiting(path));
    struct stat about {};
    const bool read = file.fd() >= 0 && ::fstat(file.fd(), &about) == 0 && S_ISREG(about.st_mode)
                      && about.st_size <= largest
                      && readUpTo(file.fd(), largest, about.st_size, contents);
    if (!read)
        contents.resize(0);
    return read;
}
