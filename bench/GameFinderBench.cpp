#include "GameFinderBench.h"

#include "ResultTable.h"
#include "core/installdir/GameFinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <stdexcept>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int prefixes = 50;
constexpr int rounds = 15;
constexpr double targetMilliseconds = 100;
// A fresh prefix's system.reg holds some 20,000 keys in about 1.5 MiB.
constexpr int keysPerRegistry = 20000;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).path()) || !file.open(QIODevice::WriteOnly)
        || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the bench home");
}

// Every other prefix holds the game, half of those registered.
QByteArray registry(int prefix)
{
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
    for (int key = 0; key < keysPerRegistry; ++key) {
        text += "[Software\\\\Classes\\\\CLSID\\\\{" + QByteArray::number(key)
                + "}] 1700000000\n"
                  "#time=1d9c0a4d1e2f3a4\n@=\"Component "
                + QByteArray::number(key) + "\"\n\n";
    }
    if (prefix % 4 == 0) {
        text += "[Software\\\\Wow6432Node\\\\EA GAMES\\\\Battlefield 1942] 1700000000\n"
                "\"GAMEDIR\"=\"C:\\\\Program Files (x86)\\\\EA GAMES\\\\Battlefield 1942\"\n\n";
    }
    return text;
}

void makeHome(const QDir& home)
{
    for (int prefix = 0; prefix < prefixes; ++prefix) {
        const QDir at(home.filePath(QStringLiteral("Games/game%1").arg(prefix)));
        writeFile(at.filePath(QStringLiteral("system.reg")), registry(prefix));
        QDir().mkpath(at.filePath(QStringLiteral("drive_c/windows/system32")));
        if (prefix % 2 == 0) {
            writeFile(at.filePath(QStringLiteral(
                          "drive_c/Program Files (x86)/EA GAMES/Battlefield 1942/BF1942.exe")),
                      {});
        }
    }
}

void readWhole(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    static char buffer[1 << 16];
    while (fd >= 0 && ::read(fd, buffer, sizeof buffer) > 0) {
    }
    if (fd < 0 || ::close(fd) != 0)
        throw std::runtime_error("cannot read a bench registry");
}

} // namespace

void GameFinderBench::run(ResultTable& table)
{
    const QTemporaryDir dir;
    const QDir home(dir.path());
    makeHome(home);
    std::vector<std::string> registries;
    for (int prefix = 0; prefix < prefixes; ++prefix)
        registries.push_back(
            home.filePath(QStringLiteral("Games/game%1/system.reg").arg(prefix)).toStdString());

    qsizetype found = 0;
    const Comparison figures = Comparison::timed(
        rounds, [&] { found = GameFinder::find(WinePrefixes::find(dir.path(), {}), {}).size(); },
        [&] {
            for (const std::string& registry : registries)
                readWhole(registry);
        });
    if (found != prefixes / 2)
        throw std::runtime_error("the game finder missed games of the bench home");
    table.addRow("game finder, 50 prefixes", "ms", figures, ResultTable::noLimit);
    const double median = figures.ours.median();
    table.addNote("game finder: 50 prefixes of " + std::to_string(keysPerRegistry)
                  + " registry keys each, " + std::to_string(prefixes / 2)
                  + " games found; the floor reads the 50 system.reg files; target < "
                  + ResultTable::number(targetMilliseconds, 0)
                  + " ms: " + (median < targetMilliseconds ? "met" : "MISSED"));
}
