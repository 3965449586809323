// Any bytes as each text the game finder reads from a player's home (a
// prefix's system.reg, Steam's libraryfolders.vdf, a Lutris game file, a
// Heroic GamesConfig file) and as a registry value: every reader ends, the
// registry gives each value once and no more than its bound, and a value
// taken as a Windows path never leaves its drive.
#include "core/installdir/GameFinder.h"
#include "core/installdir/HeroicGameFile.h"
#include "core/installdir/LutrisGameFile.h"
#include "core/installdir/SteamLibraries.h"
#include "core/installdir/WineRegistry.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

void requireWithinItsDrive(const QString& value)
{
    const QString path = GameFinder::windowsPath(value);
    if (path.isEmpty())
        return;
    require(path.size() >= 3 && path[1] == u':' && path[2] == u'/');
    for (const QString& name : path.mid(3).split(u'/', Qt::SkipEmptyParts))
        require(name != QStringLiteral(".") && name != QStringLiteral("..")
                && !name.contains(u'\\'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const WineRegistry registry(
        {QStringLiteral("Software\\EA GAMES\\Battlefield 1942"), QStringLiteral("Software\\A")});
    const QStringList values = registry.textValues(bytes);
    require(values.size() <= WineRegistry::mostValues);
    require(QSet<QString>(values.begin(), values.end()).size() == values.size());
    for (const QString& value : values)
        requireWithinItsDrive(value);
    requireWithinItsDrive(QString::fromUtf8(bytes));
    SteamLibraries::pathsIn(bytes);
    LutrisGameFile::parse(bytes);
    HeroicGameFile::prefixes(bytes);
    return 0;
}
