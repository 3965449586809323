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
#include <optional>

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

using Record = WinePrefixes::Record;
using Launcher = Record::Launcher;

// Collects prefixes once each, by their folder with links resolved, with
// every launcher's record that names them.
class PrefixList {
public:
    bool isFull() const { return m_found.size() >= WinePrefixes::mostPrefixes; }

    // A folder in the system's own, as written or with its links resolved, is none.
    void addIfPrefix(const QString& folder, const QString& where,
                     const std::optional<Record>& record = {})
    {
        if (isFull() || !QDir::isAbsolutePath(folder)
            || NativeFileSystem::isSystemFolder(QDir::cleanPath(folder)))
            return;
        const QFileInfo driveC(QDir(folder).filePath(QStringLiteral("drive_c")));
        const QString canonical = driveC.isDir() ? driveC.canonicalFilePath() : QString();
        if (canonical.isEmpty() || NativeFileSystem::isSystemFolder(canonical))
            return;
        const QString gameFolder = record ? record->gameFolder : QString();
        const QList<Record> records = record ? QList<Record>{*record} : QList<Record>();
        if (m_seen.contains(canonical)) {
            WinePrefixes::Prefix& known = m_found[m_seen.value(canonical)];
            if (known.gameFolder.isEmpty())
                known.gameFolder = gameFolder;
            known.records += records;
            return;
        }
        m_seen.insert(canonical, m_found.size());
        m_found.append({QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()), where,
                        gameFolder, records});
    }

    // Each subfolder of parent (with a relative tail, as Steam's "pfx"); with
    // a launcher's record, each is that launcher's under the subfolder's name.
    void addEachIn(const QString& parent, const QString& wherePrefix, const QString& tail = {},
                   std::optional<Record> record = {})
    {
        const QDir dir(parent);
        for (const QString& name : namesIn(parent, QDir::Dirs)) {
            if (record)
                record->name = name;
            addIfPrefix(dir.filePath(name + tail), wherePrefix + name, record);
        }
    }

    QList<WinePrefixes::Prefix> found() const { return m_found; }

private:
    QList<WinePrefixes::Prefix> m_found;
    QHash<QString, qsizetype> m_seen; // drive_c's canonical path, its prefix's index
};

// A prefix that a launcher records may be Proton's, with the prefix in "pfx".
void addRecorded(PrefixList& list, const QString& folder, const QString& where,
                 const Record& record)
{
    list.addIfPrefix(folder, where, record);
    list.addIfPrefix(folder + QStringLiteral("/pfx"), where, record);
}

// The records of one launcher: each file's text, with its name (no suffix)
// and whether it is the Flatpak's.
void forEachGameFile(const QStringList& folders, const QStringList& flatpakFolders,
                     const QString& pattern,
                     const std::function<void(const QByteArray&, const QString&, bool)>& take)
{
    QByteArray text;
    for (const QString& folder : folders + flatpakFolders) {
        const QDir dir(folder);
        for (const QString& name : namesIn(folder, QDir::Files, {pattern})) {
            if (RegularFile::read(dir.filePath(name), WinePrefixes::largestGameFile, text))
                take(text, QFileInfo(name).completeBaseName(), flatpakFolders.contains(folder));
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
    forEachGameFile(
        {folder(".config/lutris/games"), folder(".local/share/lutris/games")},
        {folder(".var/app/net.lutris.Lutris/config/lutris/games"),
         folder(".var/app/net.lutris.Lutris/data/lutris/games")},
        QStringLiteral("*.yml"), [&](const QByteArray& text, const QString& name, bool flatpak) {
            const LutrisGameFile::Game game = LutrisGameFile::parse(text);
            const QString prefix = expandedHome(game.prefix, home);
            QString exe = expandedHome(game.exe, home);
            if (!exe.isEmpty() && QDir::isRelativePath(exe))
                exe = prefix.isEmpty() ? QString() : QDir(prefix).filePath(exe);
            const QFileInfo program(exe);
            const bool isGame =
                program.fileName().compare(QStringLiteral("BF1942.exe"), Qt::CaseInsensitive) == 0;
            const QString slug = lutrisName(name);
            const QString gameFolder = isGame ? program.path() : QString();
            const QString folder = prefix.isEmpty() ? prefixAbove(exe) : prefix;
            addRecorded(list, folder, QStringLiteral("Lutris ") + slug,
                        {Launcher::Lutris, slug, flatpak, gameFolder});
        });
}

void addHeroic(PrefixList& list, const QDir& home)
{
    forEachGameFile(
        {home.filePath(QStringLiteral(".config/heroic/GamesConfig"))},
        {home.filePath(
            QStringLiteral(".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig"))},
        QStringLiteral("*.json"), [&](const QByteArray& text, const QString& name, bool flatpak) {
            for (const QString& recorded : HeroicGameFile::prefixes(text))
                addRecorded(list, expandedHome(recorded, home), QStringLiteral("Heroic ") + name,
                            {Launcher::Heroic, name, flatpak, {}});
        });
}

void addSteam(PrefixList& list, const QDir& home)
{
    const QString flatpakInstall =
        home.filePath(QStringLiteral(".var/app/com.valvesoftware.Steam/.local/share/Steam"));
    const QStringList installs{home.filePath(QStringLiteral(".local/share/Steam")),
                               home.filePath(QStringLiteral(".steam/steam")), flatpakInstall};
    // Only the Flatpak's own folder is known to be its: a library elsewhere
    // is taken for the installed Steam's.
    for (const QString& library : SteamLibraries::of(installs)) {
        const bool flatpak = (library + u'/').startsWith(flatpakInstall + u'/');
        list.addEachIn(QDir(library).filePath(QStringLiteral("steamapps/compatdata")),
                       QStringLiteral("Steam "), QStringLiteral("/pfx"),
                       Record{Launcher::Steam, {}, flatpak, {}});
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
    list.addEachIn(at(".local/share/bottles/bottles"), QStringLiteral("Bottles "), {},
                   Record{Launcher::Bottles, {}, false, {}});
    list.addEachIn(at(".var/app/com.usebottles.bottles/data/bottles/bottles"),
                   QStringLiteral("Bottles "), {}, Record{Launcher::Bottles, {}, true, {}});
    addSteam(list, homeDir);
    list.addEachIn(at(".local/share/wineprefixes"), QStringLiteral("~/.local/share/wineprefixes/"));
    list.addEachIn(at(".PlayOnLinux/wineprefix"), QStringLiteral("PlayOnLinux "));
    return list.found();
}

QList<WinePrefixes::Prefix> WinePrefixes::ofUser()
{
    return find(QDir::homePath(), qEnvironmentVariable("WINEPREFIX"));
}
