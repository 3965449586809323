#include "GameFinderBench.h"

#include "BenchFolder.h"
#include "ChildProcess.h"
#include "GameFinderFloor.h"
#include "ResultTable.h"
#include "core/installdir/GameFinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <stdexcept>

#include <unistd.h>

namespace {

struct Home {
    int prefixes;
    int rounds;
};
constexpr Home homes[] = {{50, 15}, {500, 7}};
constexpr double limit = 1.3;
constexpr int firstWindowRounds = 21;
constexpr double firstWindowLimit = 1.1;
constexpr double targetMillisecondsAt50 = 100;
// A fresh prefix's system.reg holds some 20,000 keys in about 1.8 MiB.
constexpr int keysPerRegistry = 20000;

// Synced, so that no write-back of the home falls on a timed run.
void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly)
        || file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0)
        throw std::runtime_error("cannot write the bench home");
}

QByteArray registry(bool registered)
{
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    for (int key = 0; key < keysPerRegistry; ++key) {
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + QByteArray::number(key)
                + "}] 1700000000\n"
                  "#time=1d9c0a4d1e2f3a4\n@=\"Component "
                + QByteArray::number(key) + "\"\n\n";
    }
    if (registered) {
        text += "[Software\\\\Wow6432Node\\\\EA GAMES\\\\Battlefield 1942] 1700000000\n"
                "\"GAMEDIR\"=\"C:\\\\Program Files (x86)\\\\EA GAMES\\\\Battlefield 1942\"\n\n";
    }
    return text;
}

// Every other prefix holds the game, half of those registered.
void makeHome(const QDir& home, int prefixes)
{
    const QByteArray withGame = registry(true);
    const QByteArray withoutGame = registry(false);
    for (int prefix = 0; prefix < prefixes; ++prefix) {
        const QDir at(home.filePath(QStringLiteral("Games/game%1").arg(prefix)));
        writeFile(at.filePath(QStringLiteral("system.reg")),
                  prefix % 4 == 0 ? withGame : withoutGame);
        QDir().mkpath(at.filePath(QStringLiteral("drive_c/windows/system32")));
        if (prefix % 2 == 0) {
            writeFile(at.filePath(QStringLiteral(
                          "drive_c/Program Files (x86)/EA GAMES/Battlefield 1942/BF1942.exe")),
                      {});
        }
    }
}

void requireFound(qsizetype games, int expected, const char* who)
{
    if (games != expected)
        throw std::runtime_error(std::string(who) + " missed games of the bench home");
}

void searchHome(const Home& size, ResultTable& table)
{
    const QTemporaryDir dir;
    makeHome(QDir(dir.path()), size.prefixes);
    const std::string home = dir.path().toStdString();

    qsizetype found = 0;
    GameFinderFloor floor;
    GameFinderFloor::Found floorFound;
    const Comparison figures = Comparison::timed(
        size.rounds,
        [&] { found = GameFinder::find(WinePrefixes::find(dir.path(), {}), {}).size(); },
        [&] { floorFound = floor.search(home); });
    requireFound(found, size.prefixes / 2, "the game finder");
    requireFound(floorFound.installedGames, size.prefixes / 2, "the floor");
    requireFound(floorFound.registeredPrefixes, (size.prefixes + 3) / 4, "the floor");
    table.addRow("game finder, " + std::to_string(size.prefixes) + " prefixes", "ms", figures,
                 limit);
    if (size.prefixes == 50) {
        const bool met = figures.ours.median() < targetMillisecondsAt50;
        table.addNote("game finder, 50 prefixes: target < "
                      + ResultTable::number(targetMillisecondsAt50, 0)
                      + " ms: " + (met ? "met" : "MISSED"));
    }
}

// A first start, whose first window is "Choose Directory", in a home of that
// many prefixes against one with none: the search may not hold the window up.
void showFirstWindow(const Home& size, ResultTable& table)
{
    const QTemporaryDir full;
    const QTemporaryDir empty;
    makeHome(QDir(full.path()), size.prefixes);
    const BenchFolder folder(QDir::tempPath(), BenchFolder::Start::First);
    const auto start = [&folder](const QTemporaryDir& home, Samples& time) {
        const ChildProcess::Environment environment{"QT_QPA_PLATFORM=offscreen", "DISPLAY",
                                                    "WAYLAND_DISPLAY", "WINEPREFIX",
                                                    "HOME=" + home.path().toStdString()};
        time.add(ChildProcess::run(GRIMTIDE_STARTUP_OURS, {"first-start"},
                                   folder.path().toStdString(), environment)
                     .milliseconds);
    };
    Samples warmUp;
    start(full, warmUp);
    start(empty, warmUp);
    Comparison figures;
    Comparison::alternate(
        firstWindowRounds, [&] { start(full, figures.ours); },
        [&] { start(empty, figures.floor); });
    table.addRow("first window, " + std::to_string(size.prefixes) + " prefixes", "ms", figures,
                 firstWindowLimit);
}

} // namespace

void GameFinderBench::run(ResultTable& table)
{
    for (const Home& size : homes)
        searchHome(size, table);
    showFirstWindow(homes[1], table);
    table.addNote("game finder: " + std::to_string(keysPerRegistry)
                  + " keys a registry; the floor lists ~/Games, reads each system.reg into one "
                    "buffer, finds both keys among its headers in any case, looks in the usual "
                    "folders");
    table.addNote(
        "first window: a first start's \"Choose Directory\" shown and painted, offscreen, "
        "in a home of 500 prefixes against one of none");
}
