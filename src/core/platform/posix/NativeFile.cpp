#include "core/platform/NativeFile.h"

#include "core/common/Failure.h"
#include "core/platform/AdvisoryLock.h"
#include "core/platform/posix/Descriptor.h"
#include "core/platform/posix/FileCalls.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr qint64 largestBuffer = 1 << 20;
constexpr qint64 smallestBuffer = 4096;

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

struct stat statusOf(int descriptor, const QString& path)
{
    struct stat info {};
    if (::fstat(descriptor, &info) != 0)
        FileCalls::failAt(path, errno);
    return info;
}

// -1 with errno when nothing can be opened at the path.
int openPlainFile(const QString& path, int flags)
{
    return FileCalls::openPlain(QFile::encodeName(path).constData(), flags);
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

struct NativeFile::Handle : Descriptor {
    using Descriptor::Descriptor;
};

NativeFile::NativeFile(std::unique_ptr<Handle> handle, QString place)
    : m_handle(std::move(handle)), m_place(std::move(place))
{
}

NativeFile NativeFile::openForReading(const QString& path)
{
    const int fd = openPlainFile(path, O_RDONLY);
    if (fd < 0) {
        if (errno == ENOENT)
            throw Failure(FailureNumber::FileNotFound, shown(path));
        FileCalls::failAt(path, errno);
    }
    return NativeFile(std::make_unique<Handle>(fd), shown(path));
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
        FileCalls::failAt(path, errno);
    return NativeFile(std::make_unique<Handle>(fd), shown(path));
}

std::optional<NativeFile> NativeFile::createLocked(const QString& path, int permissions)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions);
    if (fd < 0)
        FileCalls::failAt(path, errno);
    NativeFile file(std::make_unique<Handle>(fd), shown(path));
    // A file system without locks leaves the file unlocked; no clean-up
    // removes it then, for none can take its lock either.
    if (!AdvisoryLock::tryLock(fd))
        return errno == EWOULDBLOCK ? std::nullopt : std::optional<NativeFile>(std::move(file));
    if (!AdvisoryLock::stillNamed(QFile::encodeName(path), fd))
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

NativeFile::NativeFile(NativeFile&& other) noexcept = default;

NativeFile::~NativeFile() = default;

void NativeFile::fail() const
{
    throw Failure(FileCalls::failureNumber(errno), m_place);
}

FileIdentity NativeFile::identity() const
{
    const struct stat info = statusOf(m_handle->fd(), m_place);
    return {quint64(info.st_dev), quint64(info.st_ino)};
}

qint64 NativeFile::size() const
{
    return qint64(statusOf(m_handle->fd(), m_place).st_size);
}

qint64 NativeFile::read(char* buffer, qint64 size)
{
    for (;;) {
        const auto got = ::read(m_handle->fd(), buffer, size_t(size));
        if (got >= 0)
            return got;
        if (errno != EINTR)
            fail();
    }
}

void NativeFile::writeAll(const char* data, qint64 size)
{
    while (size > 0) {
        const auto written = ::write(m_handle->fd(), data, size_t(size));
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
        const auto copied = ::copy_file_range(source.m_handle->fd(), nullptr, m_handle->fd(),
                                              nullptr, size_t(left), 0);
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
    if (::ftruncate(m_handle->fd(), 0) != 0)
        fail();
}

void NativeFile::syncData()
{
    if (::fdatasync(m_handle->fd()) != 0)
        fail();
}

void NativeFile::close()
{
    const int fd = m_handle->release();
    if (::close(fd) != 0)
        fail();
}
