#include "core/common/GamePaths.h"

#include <QDir>

QString GamePaths::join(const QStringList& names)
{
    return names.join(QDir::separator());
}

QString GamePaths::modsPath(const QString& installPath)
{
    return installPath + QDir::separator() + QStringLiteral("mods") + QDir::separator();
}
