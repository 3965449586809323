#include "core/platform/SqliteFiles.h"

#include "core/platform/posix/FileCalls.h"

#include <QFile>

#include <sqlite3.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

using OpenCall = int (*)(const char* path, int flags, int mode);

OpenCall systemOpen = nullptr;
thread_local QString refused;

// A socket, a pipe without a writer, a link where none is followed or
// anything else that is no plain file: there is something at the name, and
// it is not a file.
bool isSomethingElse(int error)
{
    return error == ENXIO || error == ELOOP || error == ENODEV;
}

int refuse(const char* path)
{
    refused = QFile::decodeName(path);
    errno = ENXIO;
    return -1;
}

// SQLite opens every file of a database without following a link; its other
// opens (the database's folder, to sync it, and /dev/urandom) are of names
// it chose itself, and pass as they are.
int openWithoutWaitingCall(const char* path, int flags, int mode)
{
    if (!(flags & O_NOFOLLOW))
        return systemOpen(path, flags, mode);
    const int fd = FileCalls::openPlain(path, flags, mode_t(mode));
    if (fd < 0)
        return isSomethingElse(errno) ? refuse(path) : fd;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

} // namespace

void SqliteFiles::openWithoutWaiting()
{
    static const bool installed = [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
        systemOpen = reinterpret_cast<OpenCall>(vfs->xGetSystemCall(vfs, "open"));
        return vfs->xSetSystemCall(vfs, "open",
                                   reinterpret_cast<sqlite3_syscall_ptr>(&openWithoutWaitingCall))
               == SQLITE_OK;
    }();
    Q_UNUSED(installed);
}

QString SqliteFiles::takeRefused()
{
    return std::exchange(refused, QString());
}
