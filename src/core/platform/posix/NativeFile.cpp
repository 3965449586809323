#include "core/platform/NativeFile.h"

#include "core/common/Failure.h"
#include "core/platform/AdvisoryLock.h"
#include "core/platform/NativeFileSystem.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void failFromErrno()
{
    throw Failure(NativeFile::failureNumber(errno));
}

} // namespace

int NativeFile::failureNumber(int errorCode)
{
    switch (errorCode) {
    case ENOSPC:
    case EDQUOT:
        return FailureNumber::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
    case ETXTBSY:
        return FailureNumber::PermissionDenied;
    case ENOENT:
    case ENOTDIR:
        return FailureNumber::PathNotFound;
    case EISDIR:
        return FailureNumber::WrongKind;
    default:
        return FailureNumber::DeviceIo;
    }
}

NativeFile NativeFile::openForReading(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        failFromErrno();
    return NativeFile(fd);
}

std::optional<NativeFile> NativeFile::createLocked(const QString& path, int permissions)
{
    NativeFile file(::open(QFile::encodeName(path).constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions));
    if (file.m_descriptor < 0)
        failFromErrno();
    // A file system without locks leaves the file unlocked; no clean-up
    // removes it then, for none can take its lock either.
    if (!AdvisoryLock::tryLock(file.m_descriptor))
        return errno == EWOULDBLOCK ? std::nullopt : std::optional<NativeFile>(std::move(file));
    if (!AdvisoryLock::stillNamed(QFile::encodeName(path), file.m_descriptor))
        return std::nullopt;
    return file;
}

void NativeFile::removeUnlocked(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (AdvisoryLock::tryLock(fd) && AdvisoryLock::stillNamed(name, fd))
        ::unlink(name.constData());
    ::close(fd);
}

NativeFile::NativeFile(NativeFile&& other) noexcept : m_descriptor(other.m_descriptor)
{
    other.m_descriptor = -1;
}

NativeFile::~NativeFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

qint64 NativeFile::read(char* buffer, qint64 size)
{
    for (;;) {
        const auto got = ::read(m_descriptor, buffer, size_t(size));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            failFromErrno();
    }
}

void NativeFile::writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const auto written = ::write(m_descriptor, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            failFromErrno();
        }
        data += written;
        size -= written;
    }
}

void NativeFile::syncData()
{
    if (::fdatasync(m_descriptor) != 0)
        failFromErrno();
}

void NativeFile::close()
{
    const int fd = m_descriptor;
    m_descriptor = -1;
    if (::close(fd) != 0)
        failFromErrno();
}

void NativeFile::moveOver(const QString& ownPath, const QString& destination)
{
    NativeFileSystem::replace(ownPath, destination);
    close();
}
