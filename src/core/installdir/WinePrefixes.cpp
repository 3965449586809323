#include "core/installdir/WinePrefixes.h"

#include <QDir>
#include <QFileInfo>

namespace {

void addIfPrefix(QList<WinePrefixes::DriveC>& found, const QString& prefix, const QString& where)
{
    const QFileInfo driveC(QDir(prefix).filePath(QStringLiteral("drive_c")));
    if (driveC.isDir())
        found.append({QDir::toNativeSeparators(driveC.absoluteFilePath()),
                      QStringLiteral("C: (%1)").arg(where)});
}

QStringList subfolders(const QString& folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

QList<WinePrefixes::DriveC> WinePrefixes::find(const QString& home)
{
    const QDir homeDir(home);
    QList<DriveC> found;
    addIfPrefix(found, homeDir.filePath(QStringLiteral(".wine")), QStringLiteral("~/.wine"));
    const QString lutris = homeDir.filePath(QStringLiteral("Games"));
    for (const QString& game : subfolders(lutris))
        addIfPrefix(found, QDir(lutris).filePath(game), QStringLiteral("~/Games/") + game);
    const QString steam = homeDir.filePath(QStringLiteral(".local/share/Steam/steamapps/compatdata"));
    for (const QString& app : subfolders(steam))
        addIfPrefix(found, QDir(steam).filePath(app + QStringLiteral("/pfx")), QStringLiteral("Steam ") + app);
    return found;
}
