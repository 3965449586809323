#include "core/platform/NativeFileSystem.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

void NativeFileSystem::replace(const QString& finished, const QString& destination)
{
#ifdef _WIN32
    if (!MoveFileExW(reinterpret_cast<const wchar_t*>(finished.utf16()),
                     reinterpret_cast<const wchar_t*>(destination.utf16()),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        throw Failure(GetLastError() == ERROR_ACCESS_DENIED ? FailureNumber::PermissionDenied
                                                            : FailureNumber::DeviceIo);
#else
    if (std::rename(QFile::encodeName(finished).constData(),
                    QFile::encodeName(destination).constData())
        != 0)
        throw Failure(NativeFile::failureNumber(errno));
#endif
}

void NativeFileSystem::syncFolder(const QString& folder)
{
#ifdef _WIN32
    Q_UNUSED(folder); // MOVEFILE_WRITE_THROUGH already made the rename durable.
#else
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Failure(NativeFile::failureNumber(errno));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        throw Failure(NativeFile::failureNumber(error));
#endif
}

void NativeFileSystem::removeQuietly(const QString& path)
{
    QFile::remove(path);
}

int NativeFileSystem::permissionsFor(const QString& path)
{
#ifdef _WIN32
    Q_UNUSED(path);
    return 0;
#else
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return int(info.st_mode & 07777);
    return 0644;
#endif
}
