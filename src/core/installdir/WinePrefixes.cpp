#include "core/installdir/WinePrefixes.h"

#include "core/installdir/HeroicGameFile.h"
#include "core/installdir/LutrisGameFile.h"
#include "core/installdir/SteamLibraries.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/RegularFile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <functional>

namespace {

// The names of the folder's entries of that kind, sorted, at most
// mostEntriesPerFolder of them in the order the system lists them.
QStringList namesIn(const QString& folder, QDir::Filters kind, const QStringList& patterns = {})
{
    QDirIterator entries(folder, patterns, kind | QDir::NoDotAndDotDot);
    QStringList names;
    while (names.size() < WinePrefixes::mostEntriesPerFolder && entries.hasNext())
        names.append(entries.nextFileInfo().fileName());
    std::sort(names.begin(), names.end());
    return names;
}

// "~" and "~/x" in the player's home.
QString expandedHome(const QString& path, const QDir& home)
{
    if (path == QStringLiteral("~") || path.startsWith(QStringLiteral("~/")))
        return home.filePath(path.mid(2));
    return path;
}

// Collects prefixes once each, by their folder with links resolved.
class PrefixList {
public:
    bool isFull() const { return m_found.size() >= WinePrefixes::mostPrefixes; }

    // A folder in the system's own, as written or with its links resolved, is none.
    void addIfPrefix(const QString& folder, const QString& where, const QString& gameFolder = {})
    {
        if (isFull() || !QDir::isAbsolutePath(folder)
            || NativeFileSystem::isSystemFolder(QDir::cleanPath(folder)))
            return;
        const QFileInfo driveC(QDir(folder).filePath(QStringLiteral("drive_c")));
        const QString canonical = driveC.isDir() ? driveC.canonicalFilePath() : QString();
        if (canonical.isEmpty() || NativeFileSystem::isSystemFolder(canonical))
            return;
        if (m_seen.contains(canonical)) {
            WinePrefixes::Prefix& known = m_found[m_seen.value(canonical)];
            if (known.gameFolder.isEmpty())
                known.gameFolder = gameFolder;
            return;
        }
        m_seen.insert(canonical, m_found.size());
        m_found.append(
            {QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()), where, gameFolder});
    }

    // Each subfolder of parent (with a relative tail, as Steam's "pfx").
    void addEachIn(const QString& parent, const QString& wherePrefix, const QString& tail = {})
    {
        const QDir dir(parent);
        for (const QString& name : namesIn(parent, QDir::Dirs))
            addIfPrefix(dir.filePath(name + tail), wherePrefix + name);
    }

    QList<WinePrefixes::Prefix> found() const { return m_found; }

private:
    QList<WinePrefixes::Prefix> m_found;
    QHash<QString, qsizetype> m_seen; // drive_c's canonical path, its prefix's index
};

// A prefix that a launcher records may be Proton's, with the prefix in "pfx".
void addRecorded(PrefixList& list, const QString& folder, const QString& where,
                 const QString& gameFolder = {})
{
    list.addIfPrefix(folder, where, gameFolder);
    list.addIfPrefix(folder + QStringLiteral("/pfx"), where, gameFolder);
}

// The records of one launcher: each file's text, with its name (no suffix).
void forEachGameFile(const QStringList& folders, const QString& pattern,
                     const std::function<void(const QByteArray&, const QString&)>& take)
{
    QByteArray text;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        for (const QString& name : namesIn(folder, QDir::Files, {pattern})) {
            if (RegularFile::read(dir.filePath(name), WinePrefixes::largestGameFile, text))
                take(text, QFileInfo(name).completeBaseName());
        }
    }
}

// Lutris names its files "slug-TIMESTAMP.yml"; the slug is how the player knows it.
QString lutrisName(const QString& fileName)
{
    const qsizetype dash = fileName.lastIndexOf(u'-');
    const QString stamp = fileName.mid(dash + 1);
    const bool stamped =
        dash > 0 && !stamp.isEmpty()
        && std::all_of(stamp.begin(), stamp.end(), [](QChar c) { return c.isDigit(); });
    return stamped ? fileName.left(dash) : fileName;
}

// The prefix a program lies in: the folder above its drive_c.
QString prefixAbove(const QString& program)
{
    const qsizetype driveC = program.indexOf(QStringLiteral("/drive_c/"));
    return driveC > 0 ? program.left(driveC) : QString();
}

void addLutris(PrefixList& list, const QDir& home)
{
    const auto folder = [&home](const char* relative) {
        return home.filePath(QString::fromUtf8(relative));
    };
    const QStringList folders{folder(".config/lutris/games"), folder(".local/share/lutris/games"),
                              folder(".var/app/net.lutris.Lutris/config/lutris/games"),
                              folder(".var/app/net.lutris.Lutris/data/lutris/games")};
    forEachGameFile(
        folders, QStringLiteral("*.yml"), [&](const QByteArray& text, const QString& name) {
            const LutrisGameFile::Game game = LutrisGameFile::parse(text);
            const QString prefix = expandedHome(game.prefix, home);
            QString exe = expandedHome(game.exe, home);
            if (!exe.isEmpty() && QDir::isRelativePath(exe))
                exe = prefix.isEmpty() ? QString() : QDir(prefix).filePath(exe);
            const QFileInfo program(exe);
            const bool isGame =
                program.fileName().compare(QStringLiteral("BF1942.exe"), Qt::CaseInsensitive) == 0;
            const QString where = QStringLiteral("Lutris ") + lutrisName(name);
            const QString gameFolder = isGame ? program.path() : QString();
            const QString folder = prefix.isEmpty() ? prefixAbove(exe) : prefix;
            addRecorded(list, folder, where, gameFolder);
        });
}

void addHeroic(PrefixList& list, const QDir& home)
{
    const QStringList folders{
        home.filePath(QStringLiteral(".config/heroic/GamesConfig")),
        home.filePath(
            QStringLiteral(".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig"))};
    forEachGameFile(
        folders, QStringLiteral("*.json"), [&](const QByteArray& text, const QString& name) {
            for (const QString& recorded : HeroicGameFile::prefixes(text))
                addRecorded(list, expandedHome(recorded, home), QStringLiteral("Heroic ") + name);
        });
}

void addSteam(PrefixList& list, const QDir& home)
{
    const QStringList installs{
        home.filePath(QStringLiteral(".local/share/Steam")),
        home.filePath(QStringLiteral(".steam/steam")),
        home.filePath(QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam"))};
    for (const QString& library : SteamLibraries::of(installs)) {
        list.addEachIn(QDir(library).filePath(QStringLiteral("steamapps/compatdata")),
                       QStringLiteral("Steam "), QStringLiteral("/pfx"));
    }
}

} // namespace

QString WinePrefixes::Prefix::driveC() const
{
    return folder + QDir::separator() + QStringLiteral("drive_c");
}

QList<WinePrefixes::Prefix> WinePrefixes::find(const QString& home,
                                               const QString& winePrefixVariable)
{
    const QDir homeDir(home);
    const auto at = [&homeDir](const char* relative) {
        return homeDir.filePath(QString::fromUtf8(relative));
    };
    PrefixList list;
    list.addIfPrefix(at(".wine"), QStringLiteral("~/.wine"));
    if (!winePrefixVariable.isEmpty())
        list.addIfPrefix(winePrefixVariable, QStringLiteral("$WINEPREFIX"));
    list.addEachIn(at("Games"), QStringLiteral("~/Games/"));
    addLutris(list, homeDir);
    list.addEachIn(at("Games/Heroic/Prefixes/default"), QStringLiteral("Heroic "));
    list.addEachIn(at("Games/Heroic/Prefixes"), QStringLiteral("Heroic "));
    addHeroic(list, homeDir);
    list.addEachIn(at(".local/share/bottles/bottles"), QStringLiteral("Bottles "));
    list.addEachIn(at(".var/app/com.usebottles.bottles/data/bottles/bottles"),
                   QStringLiteral("Bottles "));
    addSteam(list, homeDir);
    list.addEachIn(at(".local/share/wineprefixes"), QStringLiteral("~/.local/share/wineprefixes/"));
    list.addEachIn(at(".PlayOnLinux/wineprefix"), QStringLiteral("PlayOnLinux "));
    return list.found();
}

QList<WinePrefixes::Prefix> WinePrefixes::ofUser()
{
    return find(QDir::homePath(), qEnvironmentVariable("WINEPREFIX"));
}
