#include "core/play/GameRunners.h"

#include "core/installdir/WinePrefixes.h"
#include "core/play/BottlesRunner.h"
#include "core/play/HeroicRunner.h"
#include "core/play/LutrisRunner.h"
#include "core/play/NoRunner.h"
#include "core/play/PlayerCommand.h"
#include "core/play/SteamRunner.h"
#include "core/play/WineRunner.h"

#include <QFileInfo>

#include <algorithm>

namespace {

using Record = WinePrefixes::Record;
using Launcher = Record::Launcher;

QString canonical(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The folder above the innermost drive_c that holds the game; empty for none.
QString prefixHolding(const QString& gameFolder)
{
    const qsizetype driveC = (gameFolder + u'/').lastIndexOf(QStringLiteral("/drive_c/"));
    return driveC > 0 ? gameFolder.left(driveC) : QString();
}

// Every launcher's record naming the prefix (a canonical path).
QList<Record> recordsOf(const QString& prefix, const QString& home)
{
    QList<Record> records;
    for (const WinePrefixes::Prefix& found : WinePrefixes::find(home, {})) {
        if (canonical(found.folder) == prefix)
            records += found.records;
    }
    return records;
}

std::unique_ptr<Runner> runnerOf(const Record& record, const QString& prefix, const QString& game)
{
    switch (record.launcher) {
    case Launcher::Lutris:
        return std::make_unique<LutrisRunner>(record.name, record.flatpak, game);
    case Launcher::Bottles:
        return std::make_unique<BottlesRunner>(prefix, record.flatpak, game);
    case Launcher::Heroic:
        return std::make_unique<HeroicRunner>(record.name, game);
    case Launcher::Steam:
        return std::make_unique<SteamRunner>(record.name, record.flatpak, game);
    }
    return {};
}

// The first record of the first launcher, in this order, that starts the
// game: a Lutris game's record names the game's own folder.
const Record* recordStarting(const QList<Record>& records, const QString& game)
{
    for (const Launcher launcher :
         {Launcher::Lutris, Launcher::Bottles, Launcher::Heroic, Launcher::Steam}) {
        const auto found = std::find_if(records.begin(), records.end(), [&](const Record& record) {
            return record.launcher == launcher
                   && (launcher != Launcher::Lutris || canonical(record.gameFolder) == game);
        });
        if (found != records.end())
            return &*found;
    }
    return nullptr;
}

QString noRunnerFor(const QString& game, const QString& why)
{
    return QStringLiteral("No runner is known for the game in \"%1\": %2.").arg(game, why);
}

} // namespace

std::unique_ptr<Runner> GameRunners::forGame(const QString& gameFolder, const QString& home)
{
    const QString game = canonical(gameFolder);
    if (game.isEmpty() || !QFileInfo(game).isDir()) {
        return std::make_unique<NoRunner>(
            QStringLiteral("The game's folder \"%1\" is not there.").arg(gameFolder));
    }
    const QString prefix = prefixHolding(game);
    if (prefix.isEmpty())
        return std::make_unique<NoRunner>(
            noRunnerFor(game, QStringLiteral("it lies in no Wine prefix")));
    const QList<Record> records = recordsOf(prefix, home);
    if (const Record* record = recordStarting(records, game))
        return runnerOf(*record, prefix, game);
    if (!records.isEmpty()) {
        return std::make_unique<NoRunner>(noRunnerFor(
            game, QStringLiteral("Lutris keeps its prefix %1, but none of its games there "
                                 "starts BF1942.exe in that folder")
                      .arg(prefix)));
    }
    return std::make_unique<WineRunner>(prefix, game);
}

PlayPlan GameRunners::planFor(const QString& gameFolder, const QString& home,
                              const QString& workingFolder)
{
    const QString file = PlayerCommand::fileIn(workingFolder);
    if (std::optional<PlayPlan> own = PlayerCommand::read(file, gameFolder))
        return *own;
    PlayPlan plan = forGame(gameFolder, home)->plan();
    if (!plan.canStart()) {
        plan.problem += QStringLiteral(" To start it anyway, set its command in \"%1\": a line "
                                       "\"program=\" with the program, then a line "
                                       "\"argument=\" for each of its arguments.")
                            .arg(file);
    }
    return plan;
}
