#include "core/platform/NativeFileSystem.h"

#include "core/platform/posix/FileCalls.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using FileCalls::failAt;

// The system's own folders, none of them a player's: first those where the
// kernel shows its devices and processes (no game is there, and reading may
// never end), then those that hold only the system's own mounts: its run
// time state, snap packages, the boot files.
constexpr int endlessFolders = 3;
const std::array<QLatin1StringView, 6> systemFolders{
    QLatin1StringView("/proc"), QLatin1StringView("/sys"),  QLatin1StringView("/dev"),
    QLatin1StringView("/run"),  QLatin1StringView("/snap"), QLatin1StringView("/boot")};

// The kernel's own file systems and those of containers and packages, which
// hold no player's files.
const std::array<QByteArrayView, 21> systemFileSystems{
    "proc",    "sysfs",    "devtmpfs",  "devpts",  "tmpfs",    "cgroup",      "cgroup2",
    "overlay", "squashfs", "autofs",    "debugfs", "tracefs",  "securityfs",  "pstore",
    "bpf",     "mqueue",   "hugetlbfs", "fusectl", "configfs", "binfmt_misc", "efivarfs"};

bool isIn(const QString& path, QLatin1StringView folder)
{
    return path.startsWith(folder) && (path.size() == folder.size() || path[folder.size()] == u'/');
}

bool isInAnyOf(const QString& path, const QLatin1StringView* first, const QLatin1StringView* last)
{
    return std::any_of(first, last, [&](QLatin1StringView folder) { return isIn(path, folder); });
}

} // namespace

void NativeFileSystem::replace(const QString& finished, const QString& destination)
{
    if (std::rename(QFile::encodeName(finished).constData(),
                    QFile::encodeName(destination).constData())
        != 0)
        failAt(destination, errno);
}

bool NativeFileSystem::addName(const QString& existing, const QString& newName)
{
    if (::link(QFile::encodeName(existing).constData(), QFile::encodeName(newName).constData())
        == 0)
        return true;
    switch (errno) {
    case EPERM:
    case EOPNOTSUPP:
    case EXDEV:
    case EMLINK:
    case ENOSYS:
        return false;
    default:
        failAt(existing, errno);
    }
}

void NativeFileSystem::syncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        failAt(folder, errno);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        failAt(folder, error);
}

void NativeFileSystem::remove(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        failAt(path, errno);
}

void NativeFileSystem::removeQuietly(const QString& path)
{
    ::unlink(QFile::encodeName(path).constData());
}

void NativeFileSystem::makeFolder(const QString& path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0755) != 0 && errno != EEXIST)
        failAt(path, errno);
}

NativeFileSystem::Status NativeFileSystem::status(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    const Kind kind = S_ISDIR(info.st_mode)   ? Kind::Folder
                      : S_ISREG(info.st_mode) ? Kind::File
                                              : Kind::Other;
    return {kind, int(info.st_mode & 07777)};
}

NativeFileSystem::Kind NativeFileSystem::entryKind(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return Kind::None;
    return S_ISLNK(info.st_mode)   ? Kind::Link
           : S_ISDIR(info.st_mode) ? Kind::Folder
           : S_ISREG(info.st_mode) ? Kind::File
                                   : Kind::Other;
}

std::optional<FileIdentity> NativeFileSystem::identity(const QString& path)
{
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino)};
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
    return isInAnyOf(canonicalPath, systemFolders.begin(), systemFolders.begin() + endlessFolders);
}

bool NativeFileSystem::mayHoldGames(const QString& root, QByteArrayView fileSystemType)
{
    return !isInAnyOf(root, systemFolders.begin(), systemFolders.end())
           && std::find(systemFileSystems.begin(), systemFileSystems.end(), fileSystemType)
                  == systemFileSystems.end();
}
