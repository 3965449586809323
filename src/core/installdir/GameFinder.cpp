#include "core/installdir/GameFinder.h"

#include "core/common/Failure.h"
#include "core/installdir/WineRegistry.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// The folder, its names matched without regard to case; empty if missing.
QString existingFolder(const QString& path)
{
    try {
        return PathResolver::folder(path);
    } catch (const Failure&) {
        return {};
    }
}

bool holdsFile(const QString& folder, const QString& name)
{
    try {
        PathResolver::existingFile(folder + u'/' + name);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace

QString GameFinder::Game::label() const
{
    return QStringLiteral("Battlefield 1942 (%1)").arg(where);
}

bool GameFinder::isGame(const QString& folder)
{
    return holdsFile(folder, QStringLiteral("BF1942.exe"))
           || !existingFolder(folder + QStringLiteral("/mods/bf1942")).isEmpty();
}

QStringList GameFinder::usualFolders(const QString& root)
{
    static const QStringList usual{
        QStringLiteral("Program Files/EA GAMES/Battlefield 1942"),
        QStringLiteral("Program Files (x86)/EA GAMES/Battlefield 1942"),
        QStringLiteral("Program Files (x86)/Origin Games/Battlefield 1942")};
    QStringList folders;
    for (const QString& relative : usual)
        folders.append(existingFolder(QDir(root).filePath(relative)));
    return folders;
}

// "C:\Games\BF1942" lies below the prefix's drive_c; another drive letter
// is a link in its dosdevices folder, named by where it leads.
QString GameFinder::inPrefix(const WinePrefixes::Prefix& prefix, const QString& windowsPath)
{
    if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter())
        return {};
    const QString letter = windowsPath.left(2).toLower();
    const QString drive =
        letter == QStringLiteral("c:")
            ? prefix.driveC()
            : QFileInfo(QDir(prefix.folder).filePath(QStringLiteral("dosdevices/") + letter))
                  .canonicalFilePath();
    if (drive.isEmpty())
        return {};
    QString rest = windowsPath.mid(2);
    rest.replace(u'\\', u'/');
    return existingFolder(drive + u'/' + rest);
}

QStringList GameFinder::registeredFolders(WineRegistry& registry,
                                          const WinePrefixes::Prefix& prefix)
{
    QStringList folders;
    for (const QString& value :
         registry.textValuesInFile(QDir(prefix.folder).filePath(QStringLiteral("system.reg"))))
        folders.append(inPrefix(prefix, value));
    return folders;
}

QList<GameFinder::Game> GameFinder::find(const QList<WinePrefixes::Prefix>& prefixes,
                                         const QList<MountedVolumes::Volume>& volumes)
{
    WineRegistry registry({QStringLiteral("Software\\EA GAMES\\Battlefield 1942"),
                           QStringLiteral("Software\\Wow6432Node\\EA GAMES\\Battlefield 1942")});
    QList<Game> games;
    QSet<QString> seen;
    const auto addGames = [&](const QStringList& folders, const QString& where) {
        for (const QString& folder : folders) {
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            if (folder.isEmpty() || canonical.isEmpty() || seen.contains(canonical)
                || !isGame(folder))
                continue;
            seen.insert(canonical);
            games.append({QDir::toNativeSeparators(QDir::cleanPath(folder)), where});
        }
    };
    for (const WinePrefixes::Prefix& prefix : prefixes) {
        addGames(registeredFolders(registry, prefix), prefix.where);
        addGames(usualFolders(prefix.driveC()), prefix.where);
    }
    for (const MountedVolumes::Volume& volume : volumes)
        addGames(usualFolders(volume.root), volume.root);
    return games;
}
