#include "core/common/GamePaths.h"

#include <QDir>
#include <QFileInfo>

QString GamePaths::join(const QStringList& names)
{
    return names.join(QDir::separator());
}

QString GamePaths::modsPath(const QString& installPath)
{
    return installPath + QDir::separator() + QStringLiteral("mods") + QDir::separator();
}

QString GamePaths::cleanAbsolute(const QString& path)
{
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}
