#include "core/platform/NativeFileSystem.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFile.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void NativeFileSystem::replace(const QString& finished, const QString& destination)
{
    if (std::rename(QFile::encodeName(finished).constData(),
                    QFile::encodeName(destination).constData())
        != 0)
        throw Failure(NativeFile::failureNumber(errno));
}

void NativeFileSystem::syncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Failure(NativeFile::failureNumber(errno));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        throw Failure(NativeFile::failureNumber(error));
}

void NativeFileSystem::removeQuietly(const QString& path)
{
    QFile::remove(path);
}

int NativeFileSystem::permissionsFor(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return int(info.st_mode & 07777);
    return 0644;
}

Qt::CaseSensitivity NativeFileSystem::nameCase()
{
    return Qt::CaseSensitive;
}

bool NativeFileSystem::isSystemFolder(const QString& canonicalPath)
{
    static const QStringList systemFolders{QStringLiteral("/proc"), QStringLiteral("/sys"),
                                           QStringLiteral("/dev")};
    return std::any_of(systemFolders.begin(), systemFolders.end(), [&](const QString& folder) {
        return canonicalPath == folder || canonicalPath.startsWith(folder + u'/');
    });
}
