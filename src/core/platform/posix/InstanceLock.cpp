#include "core/platform/InstanceLock.h"

#include "core/platform/AdvisoryLock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A holder removes the file on its way out. A file removed between our open
// and our lock no longer guards anything, so the open is tried again.
constexpr int attempts = 3;

bool isPlainFile(int descriptor)
{
    struct stat info {};
    return ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

InstanceLock::~InstanceLock()
{
    release();
}

InstanceLock::Outcome InstanceLock::take(const QString& path)
{
    release();
    const QByteArray name = QFile::encodeName(path);
    for (int attempt = 0; attempt < attempts; ++attempt) {
        // Read-only is enough for the lock, and finds an existing file in a
        // read-only folder. O_NONBLOCK keeps a pipe at the path from hanging us.
        const int fd = ::open(name.constData(),
                              O_RDONLY | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return Outcome::Unavailable;
        if (!isPlainFile(fd)) {
            ::close(fd);
            return Outcome::Unavailable;
        }
        if (!AdvisoryLock::tryLock(fd)) {
            const int error = errno;
            ::close(fd);
            return error == EWOULDBLOCK ? Outcome::HeldByAnother : Outcome::Unavailable;
        }
        if (AdvisoryLock::stillNamed(name, fd)) {
            m_descriptor = fd;
            m_path = path;
            return Outcome::Held;
        }
        ::close(fd);
    }
    return Outcome::Unavailable;
}

void InstanceLock::release()
{
    if (m_descriptor < 0)
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_descriptor);
    m_descriptor = -1;
}
