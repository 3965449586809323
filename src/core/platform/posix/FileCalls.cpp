#include "core/platform/posix/FileCalls.h"

#include "core/common/Failure.h"

#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

int FileCalls::openPlain(const char* path, int flags, mode_t mode)
{
    const int fd = ::open(path, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, mode);
    if (fd < 0)
        return fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = ENXIO;
        return -1;
    }
    return fd;
}

int FileCalls::failureNumber(int errorCode)
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

void FileCalls::failAt(const QString& path, int errorCode)
{
    throw Failure(failureNumber(errorCode), QDir::toNativeSeparators(path));
}
