#include "core/platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder itself, not a link to one, owned by the user, with mode 0700.
bool isPrivate(const QString& folder)
{
    struct stat info {};
    return !folder.isEmpty() && ::lstat(QFile::encodeName(folder).constData(), &info) == 0
           && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

// Made when missing; whatever stands there is used only when it is private.
bool ownPrivate(const QString& folder)
{
    QDir().mkpath(QFileInfo(folder).path());
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return isPrivate(folder);
}

} // namespace

QString RuntimeFolder::path()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivate(runtime))
        return runtime;
    const QString user = QString::number(::geteuid());
    for (const QString& own :
         {QDir::tempPath() + QStringLiteral("/grimtide-switch-") + user,
          QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
              + QStringLiteral("/grimtide-switch-") + user}) {
        if (ownPrivate(own))
            return own;
    }
    return {};
}
