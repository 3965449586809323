#include "core/installdir/GameFinder.h"

#include "core/common/Failure.h"
#include "core/installdir/WineRegistry.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// The folder below an existing one, its names matched without regard to
// case; empty if missing.
QString existingFolder(const QString& base, const QString& relative)
{
    try {
        return PathResolver::folderBelow(base, relative);
    } catch (const Failure&) {
        return {};
    }
}

// As its installer spelt it, or in any other case.
bool holdsFile(const QString& folder, const QString& name)
{
    if (QFileInfo(folder + u'/' + name).isFile())
        return true;
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
           || !existingFolder(folder, QStringLiteral("mods/bf1942")).isEmpty();
}

QString GameFinder::windowsPath(const QString& text)
{
    if (text.size() < 2 || text[1] != u':' || !text[0].isLetter())
        return {};
    QStringList names;
    for (const QString& name : text.mid(2).replace(u'\\', u'/').split(u'/')) {
        if (name == QStringLiteral("..") && names.isEmpty())
            return {};
        if (name == QStringLiteral(".."))
            names.removeLast();
        else if (!name.isEmpty() && name != QStringLiteral("."))
            names.append(name);
    }
    return text.left(2).toLower() + u'/' + names.join(u'/');
}

QStringList GameFinder::usualFolders(const QString& root)
{
    static const QStringList usual{
        QStringLiteral("Program Files/EA GAMES/Battlefield 1942"),
        QStringLiteral("Program Files (x86)/EA GAMES/Battlefield 1942"),
        QStringLiteral("Program Files (x86)/Origin Games/Battlefield 1942")};
    QStringList folders;
    for (const QString& relative : usual)
        folders.append(existingFolder(root, relative));
    return folders;
}

// "c:/Games/BF1942" lies below the prefix's drive_c; another drive letter
// is a link in its dosdevices folder, named by where it leads.
QString GameFinder::inPrefix(const WinePrefixes::Prefix& prefix, const QString& windowsPath)
{
    const QString letter = windowsPath.left(2);
    const QString drive =
        letter == QStringLiteral("c:")
            ? prefix.driveC()
            : QFileInfo(QDir(prefix.folder).filePath(QStringLiteral("dosdevices/") + letter))
                  .canonicalFilePath();
    // A drive may be a link to anywhere, "/" too; a link within the system's
    // folders leads elsewhere again (/proc/self/cwd).
    const QString path = QDir::cleanPath(drive + windowsPath.mid(2));
    if (drive.isEmpty() || NativeFileSystem::isSystemFolder(path))
        return {};
    return existingFolder(drive, windowsPath.mid(3));
}

// Each path once, whatever its case or spelling, before any is looked for
// on the disk: a registry may repeat one path many times.
QStringList GameFinder::registeredFolders(WineRegistry& registry,
                                          const WinePrefixes::Prefix& prefix)
{
    QSet<QString> tried;
    QStringList folders;
    for (const QString& value :
         registry.textValuesInFile(QDir(prefix.folder).filePath(QStringLiteral("system.reg")))) {
        const QString path = windowsPath(value);
        if (path.isEmpty() || tried.contains(path.toLower()))
            continue;
        tried.insert(path.toLower());
        folders.append(inPrefix(prefix, path));
    }
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
            if (folder.isEmpty() || NativeFileSystem::isSystemFolder(QDir::cleanPath(folder))
                || !isGame(folder))
                continue;
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            if (canonical.isEmpty() || seen.contains(canonical)
                || NativeFileSystem::isSystemFolder(canonical))
                continue;
            seen.insert(canonical);
            games.append({QDir::toNativeSeparators(QDir::cleanPath(folder)), where});
        }
    };
    for (const WinePrefixes::Prefix& prefix : prefixes) {
        addGames({prefix.gameFolder}, prefix.where);
        addGames(registeredFolders(registry, prefix), prefix.where);
        addGames(usualFolders(prefix.driveC()), prefix.where);
    }
    for (const MountedVolumes::Volume& volume : volumes)
        addGames(usualFolders(volume.root), volume.root);
    return games;
}
