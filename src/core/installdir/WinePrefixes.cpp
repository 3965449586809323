#include "core/installdir/WinePrefixes.h"

#include "core/installdir/SteamLibraries.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

// Collects prefixes once each, by their folder with links resolved.
class PrefixList {
public:
    void addIfPrefix(const QString& folder, const QString& where)
    {
        const QFileInfo driveC(QDir(folder).filePath(QStringLiteral("drive_c")));
        const QString canonical = driveC.canonicalFilePath();
        if (!driveC.isDir() || canonical.isEmpty() || m_seen.contains(canonical))
            return;
        m_seen.insert(canonical);
        m_found.append({QDir::toNativeSeparators(QFileInfo(folder).absoluteFilePath()), where});
    }

    // Each subfolder of parent (with a relative tail, as Steam's "pfx").
    void addEachIn(const QString& parent, const QString& wherePrefix, const QString& tail = {})
    {
        const QDir dir(parent);
        for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            addIfPrefix(dir.filePath(name + tail), wherePrefix + name);
    }

    QList<WinePrefixes::Prefix> found() const { return m_found; }

private:
    QList<WinePrefixes::Prefix> m_found;
    QSet<QString> m_seen;
};

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
    list.addEachIn(at("Games/Heroic/Prefixes/default"), QStringLiteral("Heroic "));
    list.addEachIn(at("Games/Heroic/Prefixes"), QStringLiteral("Heroic "));
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
