#include "core/platform/NativeFile.h"

#include "core/common/Failure.h"
#include "core/platform/AdvisoryLock.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 largestBuffer = 1 << 20;
constexpr qint64 smallestBuffer = 4096;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

[[noreturn]] void failAt(const QString& path, int errorCode)
{
    throw Failure(NativeFile::failureNumber(errorCode), shown(path));
}

struct stat statusOf(int descriptor, const QString& path)
{
    struct stat info {};
    if (::fstat(descriptor, &info) != 0)
        failAt(path, errno);
    return info;
}

// -1 with errno when nothing can be opened at the path.
int openPlainFile(const QString& path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        throw Failure(FailureNumber::WrongKind, shown(path));
    }
    return fd;
}

// The kernel can't copy between these two files, or not on this system: the
// copy goes on through a buffer.
bool refusedByKernel(int errorCode)
{
    switch (errorCode) {
    case EXDEV:
    case EINVAL:
    case ENOSYS:
    case EOPNOTSUPP:
    case EBADF:
    case EPERM:
    case ETXTBSY:
        return true;
    default:
        return false;
    }
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
    case ELOOP:
    case ENXIO: // a socket, or a pipe nobody reads
        return FailureNumber::WrongKind;
    default:
        return FailureNumber::DeviceIo;
    }
}

NativeFile NativeFile::openForReading(const QString& path)
{
    const int fd = openPlainFile(path, O_RDONLY);
    if (fd < 0) {
        if (errno == ENOENT)
            throw Failure(FailureNumber::FileNotFound, shown(path));
        failAt(path, errno);
    }
    return NativeFile(fd, shown(path));
}

std::optional<NativeFile> NativeFile::openIfPresent(const QString& path)
{
    return openPresent(path, O_RDONLY);
}

std::optional<NativeFile> NativeFile::openUnlinkedIfPresent(const QString& path)
{
    return openPresent(path, O_RDONLY | O_NOFOLLOW);
}

std::optional<NativeFile> NativeFile::openForWriting(const QString& path)
{
    return openPresent(path, O_WRONLY | O_NOFOLLOW);
}

std::optional<NativeFile> NativeFile::openPresent(const QString& path, int flags)
{
    const int fd = openPlainFile(path, flags);
    if (fd < 0 && errno == ENOENT)
        return std::nullopt;
    if (fd < 0)
        failAt(path, errno);
    return NativeFile(fd, shown(path));
}

std::optional<NativeFile> NativeFile::createLocked(const QString& path, int permissions)
{
    NativeFile file(::open(QFile::encodeName(path).constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions),
                    shown(path));
    if (file.m_descriptor < 0)
        failAt(path, errno);
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

NativeFile::NativeFile(NativeFile&& other) noexcept
    : m_descriptor(other.m_descriptor), m_place(std::move(other.m_place))
{
    other.m_descriptor = -1;
}

NativeFile::~NativeFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void NativeFile::fail() const
{
    throw Failure(failureNumber(errno), m_place);
}

FileIdentity NativeFile::identity() const
{
    const struct stat info = statusOf(m_descriptor, m_place);
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

qint64 NativeFile::size() const
{
    return qint64(statusOf(m_descriptor, m_place).st_size);
}

qint64 NativeFile::read(char* buffer, qint64 size)
{
    for (;;) {
        const auto got = ::read(m_descriptor, buffer, size_t(size));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            fail();
    }
}

void NativeFile::writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const auto written = ::write(m_descriptor, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail();
        }
        data += written;
        size -= written;
    }
}

void NativeFile::copyFrom(NativeFile& source)
{
    if (!copyInKernel(source))
        copyThroughBuffer(source);
}

bool NativeFile::copyInKernel(NativeFile& source)
{
    // Up to the size the source has now; a file system that stops short
    // leaves the rest to the buffer.
    qint64 left = source.size();
    while (left > 0) {
        const auto copied =
            ::copy_file_range(source.m_descriptor, nullptr, m_descriptor, nullptr, size_t(left), 0);
        if (copied > 0) {
            left -= copied;
            continue;
        }
        if (copied == 0 || refusedByKernel(errno))
            return false;
        if (errno != EINTR)
            fail();
    }
    return true;
}

void NativeFile::copyThroughBuffer(NativeFile& source)
{
    const qint64 bufferSize = std::clamp(source.size(), smallestBuffer, largestBuffer);
    const auto buffer = std::make_unique<char[]>(size_t(bufferSize));
    for (;;) {
        const qint64 got = source.read(buffer.get(), bufferSize);
        if (got == 0)
            return;
        writeAll(buffer.get(), got);
    }
}

void NativeFile::truncate()
{
    if (::ftruncate(m_descriptor, 0) != 0)
        fail();
}

void NativeFile::syncData()
{
    if (::fdatasync(m_descriptor) != 0)
        fail();
}

void NativeFile::close()
{
    const int fd = m_descriptor;
    m_descriptor = -1;
    if (::close(fd) != 0)
        fail();
}
