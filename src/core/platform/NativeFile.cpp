#include "core/platform/NativeFile.h"

#include "core/common/Failure.h"
#include "core/platform/AdvisoryLock.h"
#include "core/platform/NativeFileSystem.h"

#include <cerrno>
#include <fcntl.h>

#ifdef _WIN32
#include <io.h>
#define GT_OPEN_READ(p) _wopen(reinterpret_cast<const wchar_t*>(p.utf16()), _O_RDONLY | _O_BINARY)
#define GT_OPEN_NEW(p, m)                                                                          \
    _wopen(reinterpret_cast<const wchar_t*>(p.utf16()),                                            \
           _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE)
#define GT_SYNC(fd) _commit(fd)
#define GT_READ(fd, b, n) _read(fd, b, unsigned(n))
#define GT_WRITE(fd, b, n) _write(fd, b, unsigned(n))
#define GT_CLOSE(fd) _close(fd)
#else
#include <sys/stat.h>
#include <unistd.h>
#define GT_OPEN_READ(p) ::open(QFile::encodeName(p).constData(), O_RDONLY | O_CLOEXEC)
#define GT_OPEN_NEW(p, m)                                                                          \
    ::open(QFile::encodeName(p).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, m)
#define GT_SYNC(fd) ::fdatasync(fd)
#define GT_READ(fd, b, n) ::read(fd, b, size_t(n))
#define GT_WRITE(fd, b, n) ::write(fd, b, size_t(n))
#define GT_CLOSE(fd) ::close(fd)
#endif

#include <QFile>

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
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FailureNumber::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
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
    const int fd = GT_OPEN_READ(path);
    if (fd < 0)
        failFromErrno();
    return NativeFile(fd);
}

std::optional<NativeFile> NativeFile::createLocked(const QString& path, int permissions)
{
    NativeFile file(GT_OPEN_NEW(path, permissions));
    if (file.m_descriptor < 0)
        failFromErrno();
#ifndef _WIN32
    // A file system without locks leaves the file unlocked; no clean-up
    // removes it then, for none can take its lock either.
    if (!AdvisoryLock::tryLock(file.m_descriptor))
        return errno == EWOULDBLOCK ? std::nullopt : std::optional<NativeFile>(std::move(file));
    if (!AdvisoryLock::stillNamed(QFile::encodeName(path), file.m_descriptor))
        return std::nullopt;
#endif
    return file;
}

void NativeFile::removeUnlocked(const QString& path)
{
#ifdef _WIN32
    // A file open for writing can't be removed here; that is its lock.
    QFile::remove(path);
#else
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    if (AdvisoryLock::tryLock(fd) && AdvisoryLock::stillNamed(name, fd))
        ::unlink(name.constData());
    ::close(fd);
#endif
}

NativeFile::NativeFile(NativeFile&& other) noexcept : m_descriptor(other.m_descriptor)
{
    other.m_descriptor = -1;
}

NativeFile::~NativeFile()
{
    if (m_descriptor >= 0)
        GT_CLOSE(m_descriptor);
}

qint64 NativeFile::read(char* buffer, qint64 size)
{
    for (;;) {
        const auto got = GT_READ(m_descriptor, buffer, size);
        if (got >= 0)
            return got;
        if (errno != EINTR)
            failFromErrno();
    }
}

void NativeFile::writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const auto written = GT_WRITE(m_descriptor, data, size);
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
    if (GT_SYNC(m_descriptor) != 0)
        failFromErrno();
}

void NativeFile::close()
{
    const int fd = m_descriptor;
    m_descriptor = -1;
    if (GT_CLOSE(fd) != 0)
        failFromErrno();
}

void NativeFile::moveOver(const QString& ownPath, const QString& destination)
{
#ifdef _WIN32
    // An open file can't be renamed here.
    close();
    NativeFileSystem::replace(ownPath, destination);
#else
    NativeFileSystem::replace(ownPath, destination);
    close();
#endif
}
