#include "core/platform/InstanceLock.h"

#include "core/platform/AdvisoryLock.h"
#include "core/platform/posix/FileCalls.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A holder removes the file on its way out. A file removed between our open
// and our lock no longer guards anything, so the open is tried again.
constexpr int attempts = 3;

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
        // read-only folder.
        const int fd =
            FileCalls::openPlain(name.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW, 0600);
        if (fd < 0)
            return Outcome::Unavailable;
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
