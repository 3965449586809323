#include "core/platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder itself, not a link to one, owned by the user and closed to others.
bool isPrivate(const QString& folder)
{
    struct stat info {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0
           && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString RuntimeFolder::path()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivate(runtime))
        return runtime;
    const QString own =
        QDir::tempPath() + QStringLiteral("/grimtide-switch-") + QString::number(::geteuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return isPrivate(own) ? own : QString();
}
