#include "core/play/GameRunners.h"
#include "core/play/GameStart.h"
#include "core/play/PlayerCommand.h"
#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/RunningProgram.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// The game where Lutris keeps it, as its record names it.
const QString lutrisGame = u"Games/battlefield-1942/drive_c/Program Files/EA GAMES/"
                           "Battlefield 1942"_s;
const QString started = u"Grimtide mode: Battlefield 1942 starts through Lutris, as its game "
                        "\"battlefield-1942\".\n"_s;

// The text of each box the program shows while the action runs, each closed
// with its OK as soon as it is up.
QStringList boxesWhile(const std::function<void()>& action)
{
    QStringList texts;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&texts] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            texts << box->text().replace(u'\n', u' ');
            box->button(QMessageBox::Ok)->click();
        }
    });
    closer.start(20);
    action();
    return texts;
}

} // namespace

// A home laid out as a player's, with Battlefield 1942 in every kind of
// prefix the launchers keep, and stand-ins for the launchers on the PATH:
// what --play --dry-run shows for each and what each is given; then --play
// in a working folder whose row points at the Lutris game, alone and through
// the program running in the folder.
class TestPlay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(homeDir.isValid() && workDir.isValid());
        home = QDir(homeDir.path()).canonicalPath();
        work = QDir(workDir.path()).canonicalPath();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("TMPDIR", QFile::encodeName(at(u"tmp"_s)));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(at(u"cache"_s)));
        QVERIFY(QDir(home).mkpath(u"tmp"_s));
        const QString retail = u"drive_c/Program Files/EA GAMES/Battlefield 1942"_s;
        placeGame(u".wine/"_s + retail);
        QVERIFY(QDir(home).mkpath(u".wine/dosdevices"_s));
        QVERIFY(QFile::link(u"../drive_c"_s, at(u".wine/dosdevices/c:"_s)));
        placeGame(u".local/share/wineprefixes/bf/drive_c/Games/BF1942"_s, u"bf1942.EXE"_s);

        placeGame(u"Games/battlefield-1942/"_s + retail);
        write(u".config/lutris/games/battlefield-1942-1700000000.yml"_s,
              "game:\n  exe: drive_c/Program Files/EA GAMES/Battlefield 1942/BF1942.exe\n"
              "  prefix: ~/Games/battlefield-1942\nsystem: {}\n");
        placeGame(u"Games/bf-flatpak/"_s + retail);
        write(u".var/app/net.lutris.Lutris/config/lutris/games/bf-flatpak-1700000001.yml"_s,
              "game:\n  exe: ~/Games/bf-flatpak/" + retail.toUtf8() + "/BF1942.exe\n");
        placeGame(u"Games/shared/"_s + retail);
        write(u".config/lutris/games/other-1700000002.yml"_s,
              "game:\n  exe: drive_c/Other/Other.exe\n  prefix: $HOME/Games/shared\n");

        placeGame(u".local/share/bottles/bottles/Battlefield-1942/"_s + retail);
        write(u".local/share/bottles/bottles/Battlefield-1942/bottle.yml"_s,
              "Arch: win64\nName: Battlefield 1942\nPath: Battlefield-1942\n");
        placeGame(u".var/app/com.usebottles.bottles/data/bottles/bottles/BF/"_s + retail);
        write(u".var/app/com.usebottles.bottles/data/bottles/bottles/BF/bottle.yml"_s, "[1, 2]\n");

        placeGame(u"Games/Heroic/Prefixes/default/Battlefield 1942/"_s + retail);
        write(u".config/heroic/GamesConfig/Hx7kQ2pLmN3vR8sT.json"_s,
              R"({"Hx7kQ2pLmN3vR8sT": {"winePrefix":
                  "~/Games/Heroic/Prefixes/default/Battlefield 1942", "wineVersion": {}}})");

        placeGame(u".local/share/Steam/steamapps/compatdata/3123456789/pfx/"_s + retail);
        placeGame(
            u".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/24960/pfx/"_s
            + retail);
        placeGame(u"games/BF1942"_s);
        placeStandIns();
    }

    void cleanupTestCase()
    {
        qputenv("PATH", path);
        qunsetenv("PLAY_MARK");
    }

    // The Lutris game as the mod's install left it, without the mode files
    // of an earlier switch.
    void init()
    {
        QFile::remove(PlayerCommand::fileIn(work));
        QFile::remove(at(u"release"_s));
        QVERIFY(QDir(at(u"records"_s)).removeRecursively() && QDir(home).mkpath(u"records"_s));
        QVERIFY(QDir(game(u"mods"_s)).removeRecursively());
        for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
            QVERIFY(QDir().mkpath(game(u"mods/"_s + QLatin1String(folder))));
    }

    void dryRunOfEachRunner_data()
    {
        QTest::addColumn<QString>("gameFolder");
        QTest::addColumn<QString>("expected");
        const char* howToSet = " To start it anyway, set its command in \"$WORK/play.conf\": a "
                               "line \"program=\" with the program, then a line \"argument=\" "
                               "for each of its arguments.\n";
        QTest::newRow("plain Wine prefix")
            << u".wine/drive_c/Program Files/EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts under Wine, in the prefix $HOME/.wine.\n"
               "program=wine\n"
               "argument=BF1942.exe\n"
               "environment=WINEPREFIX=$HOME/.wine\n"
               "folder=$HOME/.wine/drive_c/Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("through the prefix's C: link")
            << u".wine/dosdevices/c:/Program Files/EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts under Wine, in the prefix $HOME/.wine.\n"
               "program=wine\n"
               "argument=BF1942.exe\n"
               "environment=WINEPREFIX=$HOME/.wine\n"
               "folder=$HOME/.wine/drive_c/Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("the program spelt its own way")
            << u".local/share/wineprefixes/bf/drive_c/Games/BF1942"_s
            << u"# Battlefield 1942 starts under Wine, in the prefix "
               "$HOME/.local/share/wineprefixes/bf.\n"
               "program=wine\n"
               "argument=bf1942.EXE\n"
               "environment=WINEPREFIX=$HOME/.local/share/wineprefixes/bf\n"
               "folder=$HOME/.local/share/wineprefixes/bf/drive_c/Games/BF1942\n"_s;
        QTest::newRow("Lutris, prefix in ~/Games")
            << u"Games/battlefield-1942/drive_c/Program Files/EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Lutris, as its game \"battlefield-1942\".\n"
               "program=lutris\n"
               "argument=lutris:rungame/battlefield-1942\n"
               "folder=$HOME/Games/battlefield-1942/drive_c/Program Files/EA GAMES/"
               "Battlefield 1942\n"_s;
        QTest::newRow("Lutris Flatpak, no prefix recorded")
            << u"Games/bf-flatpak/drive_c/Program Files/EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Lutris (Flatpak), as its game \"bf-flatpak\".\n"
               "program=flatpak\n"
               "argument=run\n"
               "argument=net.lutris.Lutris\n"
               "argument=lutris:rungame/bf-flatpak\n"
               "folder=$HOME/Games/bf-flatpak/drive_c/Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("Lutris prefix of another game")
            << u"Games/shared/drive_c/Program Files/EA GAMES/Battlefield 1942"_s
            << u"No runner is known for the game in \"$HOME/Games/shared/drive_c/Program Files/"
               "EA GAMES/Battlefield 1942\": Lutris keeps its prefix $HOME/Games/shared, but none "
               "of its games there starts BF1942.exe in that folder."_s
                   + QString::fromUtf8(howToSet);
        QTest::newRow("Bottles")
            << u".local/share/bottles/bottles/Battlefield-1942/drive_c/Program Files/EA GAMES/"
               "Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Bottles, in its bottle \"Battlefield 1942\".\n"
               "program=bottles-cli\n"
               "argument=run\n"
               "argument=-b\n"
               "argument=Battlefield 1942\n"
               "argument=-e\n"
               "argument=$HOME/.local/share/bottles/bottles/Battlefield-1942/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942/BF1942.exe\n"
               "folder=$HOME/.local/share/bottles/bottles/Battlefield-1942/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("Bottles Flatpak, bottle.yml naming none")
            << u".var/app/com.usebottles.bottles/data/bottles/bottles/BF/drive_c/Program Files/"
               "EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Bottles (Flatpak), in its bottle \"BF\".\n"
               "program=flatpak\n"
               "argument=run\n"
               "argument=--command=bottles-cli\n"
               "argument=com.usebottles.bottles\n"
               "argument=run\n"
               "argument=-b\n"
               "argument=BF\n"
               "argument=-e\n"
               "argument=$HOME/.var/app/com.usebottles.bottles/data/bottles/bottles/BF/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942/BF1942.exe\n"
               "folder=$HOME/.var/app/com.usebottles.bottles/data/bottles/bottles/BF/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("Heroic, sideloaded")
            << u"Games/Heroic/Prefixes/default/Battlefield 1942/drive_c/Program Files/EA GAMES/"
               "Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Heroic, as its game \"Hx7kQ2pLmN3vR8sT\".\n"
               "program=xdg-open\n"
               "argument=heroic://launch/Hx7kQ2pLmN3vR8sT\n"
               "folder=$HOME/Games/Heroic/Prefixes/default/Battlefield 1942/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("Steam, a game the player added")
            << u".local/share/Steam/steamapps/compatdata/3123456789/pfx/drive_c/Program Files/"
               "EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Steam, as its non-Steam game 3123456789.\n"
               "program=steam\n"
               "argument=steam://rungameid/13415144759257726976\n"
               "folder=$HOME/.local/share/Steam/steamapps/compatdata/3123456789/pfx/drive_c/"
               "Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("Steam Flatpak, a game of its own")
            << u".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/24960/"
               "pfx/drive_c/Program Files/EA GAMES/Battlefield 1942"_s
            << u"# Battlefield 1942 starts through Steam (Flatpak), as its game 24960.\n"
               "program=flatpak\n"
               "argument=run\n"
               "argument=com.valvesoftware.Steam\n"
               "argument=steam://rungameid/24960\n"
               "folder=$HOME/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/"
               "compatdata/24960/pfx/drive_c/Program Files/EA GAMES/Battlefield 1942\n"_s;
        QTest::newRow("in no prefix")
            << u"games/BF1942"_s
            << u"No runner is known for the game in \"$HOME/games/BF1942\": it lies in no Wine "
               "prefix."_s
                   + QString::fromUtf8(howToSet);
        QTest::newRow("no folder") << u"gone/BF1942"_s
                                   << u"The game's folder \"$HOME/gone/BF1942\" is not there."_s
                                          + QString::fromUtf8(howToSet);
    }

    void dryRunOfEachRunner()
    {
        QFETCH(QString, gameFolder);
        QFETCH(QString, expected);
        const PlayPlan plan = GameRunners::planFor(at(gameFolder), home, work);
        QCOMPARE(plan.dryRunText(), placed(expected));
    }

    void playersOwnCommand_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("expected");
        const auto refused = [](const char* why) {
            return u"\"$WORK/play.conf\" can't be used to start the game: %1.\n"_s.arg(
                QString::fromUtf8(why));
        };
        QTest::newRow("every key, comments, spaces, CRLF")
            << QByteArray("\xEF\xBB\xBF# how I play\r\n\r\n  program = /opt/bf/run game \r\n"
                          "argument=+restart\nargument=1\nargument=\n"
                          "environment=WINEDEBUG=-all\nenvironment=EMPTY=\n"
                          "folder=/opt/bf\n")
            << u"# Battlefield 1942 starts as \"$WORK/play.conf\" says.\n"
               "program=/opt/bf/run game\n"
               "argument=+restart\n"
               "argument=1\n"
               "argument=\n"
               "environment=WINEDEBUG=-all\n"
               "environment=EMPTY=\n"
               "folder=/opt/bf\n"_s;
        QTest::newRow("program alone, in the game's folder")
            << QByteArray("program=wine")
            << u"# Battlefield 1942 starts as \"$WORK/play.conf\" says.\n"
               "program=wine\n"
               "folder=$HOME/games/BF1942\n"_s;
        QTest::newRow("no key") << QByteArray("program=wine\nBF1942.exe\n")
                                << refused("line 2: it is no key=value");
        QTest::newRow("unknown key") << QByteArray("command=wine BF1942.exe\n")
                                     << refused("line 1: \"command\" is none of program, "
                                                "argument, environment and folder");
        QTest::newRow("program twice")
            << QByteArray("program=wine\nprogram=lutris\n") << refused("line 2: it is given twice");
        QTest::newRow("empty program")
            << QByteArray("program=\n") << refused("line 1: it is empty");
        QTest::newRow("environment without a name")
            << QByteArray("program=wine\nenvironment==1\n")
            << refused("line 2: the entry is no NAME=value");
        QTest::newRow("environment without a value")
            << QByteArray("program=wine\nenvironment=WINEPREFIX\n")
            << refused("line 2: the entry is no NAME=value");
        QTest::newRow("relative folder") << QByteArray("program=wine\nfolder=games\n")
                                         << refused("line 2: the folder is no absolute path");
        QTest::newRow("no program")
            << QByteArray("# nothing\nargument=BF1942.exe\n") << refused("it names no program");
        QTest::newRow("junk") << QByteArray("program=wine\0\x01\x02", 15)
                              << refused("it is no text");
        QTest::newRow("no UTF-8") << QByteArray("program=w\xe9ine\n") << refused("it is no text");
        QTest::newRow("huge") << QByteArray("program=wine\n")
                                     + QByteArray(PlayerCommand::largestFile, '#')
                              << refused("it is larger than 64 KiB");
    }

    void playersOwnCommand()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, expected);
        Checks::writeBytes(PlayerCommand::fileIn(work), file);
        QCOMPARE(GameRunners::planFor(at(u"games/BF1942"_s), home, work).dryRunText(),
                 placed(expected));
    }

    // Whatever stands in the file's place is never read, and never waited on.
    void damagedCommandFileRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("why");
        QTest::newRow("pipe") << u"pipe"_s << u"it is no plain file"_s;
        QTest::newRow("link to a good file") << u"link"_s << u"it is a link"_s;
    }

    void damagedCommandFileRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, why);
        const QString file = PlayerCommand::fileIn(work);
        const QString good = at(u"good.conf"_s);
        Checks::writeBytes(good, "program=wine\n");
        if (kind == u"link")
            QVERIFY(QFile::link(good, file));
        else
            Checks::plant(kind, file);
        const PlayPlan plan = GameRunners::planFor(at(u"games/BF1942"_s), home, work);
        QCOMPARE(plan.problem, u"\"%1\" can't be used to start the game: %2."_s.arg(file, why));
    }

    // Each stand-in records once the test releases it: the start has returned by then.
    void startsDetachedThroughTheLauncher_data()
    {
        QTest::addColumn<QString>("gameFolder");
        QTest::addColumn<QByteArray>("ownCommand");
        QTest::addColumn<QString>("standIn");
        QTest::addColumn<QString>("expected");
        const QString retail = u"/drive_c/Program Files/EA GAMES/Battlefield 1942"_s;
        QTest::newRow("Lutris") << u"Games/battlefield-1942"_s + retail << QByteArray()
                                << u"lutris"_s
                                << u"folder: $HOME/Games/battlefield-1942%1\n"
                                   "argument: lutris:rungame/battlefield-1942\n"
                                   "WINEPREFIX: (not set)\n"
                                   "PLAY_MARK: ours\n"_s.arg(retail);
        QTest::newRow("Bottles")
            << u".local/share/bottles/bottles/Battlefield-1942"_s + retail << QByteArray()
            << u"bottles-cli"_s
            << u"folder: $HOME/.local/share/bottles/bottles/Battlefield-1942%1\n"
               "argument: run\n"
               "argument: -b\n"
               "argument: Battlefield 1942\n"
               "argument: -e\n"
               "argument: $HOME/.local/share/bottles/bottles/Battlefield-1942%1/BF1942.exe\n"
               "WINEPREFIX: (not set)\n"
               "PLAY_MARK: ours\n"_s.arg(retail);
        QTest::newRow("Heroic") << u"Games/Heroic/Prefixes/default/Battlefield 1942"_s + retail
                                << QByteArray() << u"xdg-open"_s
                                << u"folder: $HOME/Games/Heroic/Prefixes/default/"
                                   "Battlefield 1942%1\n"
                                   "argument: heroic://launch/Hx7kQ2pLmN3vR8sT\n"
                                   "WINEPREFIX: (not set)\n"
                                   "PLAY_MARK: ours\n"_s.arg(retail);
        QTest::newRow("play.conf")
            << u"games/BF1942"_s
            << QByteArray("program=$HOME/bin/my start\nargument=+restart 1\nargument=\n"
                          "environment=PLAY_MARK=play.conf's\nenvironment=WINEPREFIX=/p\n"
                          "folder=$HOME/Games\n")
            << u"my start"_s
            << u"folder: $HOME/Games\n"
               "argument: +restart 1\n"
               "argument: \n"
               "WINEPREFIX: /p\n"
               "PLAY_MARK: play.conf's\n"_s;
    }

    void startsDetachedThroughTheLauncher()
    {
        QFETCH(QString, standIn);
        QFETCH(QString, expected);
        const GameStart::Outcome outcome = startFromRow();
        QVERIFY2(outcome.started, qPrintable(outcome.reason));
        QVERIFY(outcome.processId > 0);
        const QString record = at(u"records/"_s + standIn);
        QVERIFY(!QFile::exists(record));
        Checks::writeBytes(at(u"release"_s), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
        QCOMPARE(QString::fromUtf8(Checks::bytesOf(record)), placed(expected));
    }

    void notStarted_data()
    {
        QTest::addColumn<QString>("gameFolder");
        QTest::addColumn<QByteArray>("ownCommand");
        QTest::addColumn<QString>("reason");
        const QString retail = u"/drive_c/Program Files/EA GAMES/Battlefield 1942"_s;
        QTest::newRow("command not installed")
            << u".local/share/Steam/steamapps/compatdata/3123456789/pfx"_s + retail << QByteArray()
            << u"\"steam\" is not installed: no such command is on the PATH."_s;
        QTest::newRow("no program at the path")
            << u"games/BF1942"_s << QByteArray("program=$HOME/games/BF1942/BF1942.exe\n")
            << u"\"$HOME/games/BF1942/BF1942.exe\" is no program that can be run."_s;
        QTest::newRow("command off the PATH the file sets")
            << u"games/BF1942"_s << QByteArray("program=lutris\nenvironment=PATH=/nowhere\n")
            << u"\"lutris\" is not installed: no such command is on the PATH."_s;
        QTest::newRow("no folder")
            << u"games/BF1942"_s << QByteArray("program=lutris\nfolder=$HOME/gone\n")
            << u"The folder \"$HOME/gone\" to start the game in is not there."_s;
        QTest::newRow("no runner")
            << u"games/BF1942"_s << QByteArray()
            << u"No runner is known for the game in \"$HOME/games/BF1942\": it lies in no Wine "
               "prefix. To start it anyway, set its command in \"$WORK/play.conf\": a line "
               "\"program=\" with the program, then a line \"argument=\" for each of its "
               "arguments."_s;
    }

    void notStarted()
    {
        QFETCH(QString, reason);
        const GameStart::Outcome outcome = startFromRow();
        QVERIFY(!outcome.started);
        QCOMPARE(outcome.reason, placed(reason));
    }

    void playsAloneOrThroughTheRunningProgram_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("withMod");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("mode");      // stored after it
        QTest::addColumn<QString>("baseGame");  // the cons file in bf1942/init.con
        QTest::addColumn<QStringList>("boxes"); // shown by the running program
        const QStringList grimtide{u"--play"_s, u"grimtide"_s};
        const QString noMod =
            u"Please check your options The folder $GAME/mods/gtide_base does not "
            "exist: install the Grimtide mod first."_s;
        for (const bool running : {false, true}) {
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::addRow("%s: %s", running ? "through the running program" : "alone",
                                     name)
                       << running;
            };
            row("grimtide") << grimtide << true << 0 << started << QString() << u"Grimtide"_s
                            << u"unbf"_s << QStringList();
            row("the row's mode") << QStringList{u"--play"_s} << true << 0
                                  << u"Pure mode: Battlefield 1942 starts through Lutris, as its "
                                     "game \"battlefield-1942\".\n"_s
                                  << QString() << u"Pure"_s << QString() << QStringList();
            row("pure, the mode it is in, without the mod")
                << QStringList{u"--play"_s, u"pure"_s} << false << 0
                << u"Pure mode: Battlefield 1942 starts through Lutris, as its game "
                   "\"battlefield-1942\".\n"_s
                << QString() << u"Pure"_s << QString() << QStringList();
            row("grimtide without the mod")
                << grimtide << false << 2 << QString() << u"grimtide-switch: "_s + noMod + u'\n'
                << u"Pure"_s << QString() << (running ? QStringList{noMod} : QStringList());
        }
    }

    void playsAloneOrThroughTheRunningProgram()
    {
        QFETCH(bool, running);
        QFETCH(QStringList, arguments);
        QFETCH(bool, withMod);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, mode);
        QFETCH(QString, baseGame);
        QFETCH(QStringList, boxes);
        if (!withMod)
            QVERIFY(QDir(game(u"mods/gtide_base"_s)).removeRecursively());
        TestFolder folder;
        folder.writeSettings({.path = gameFolder()});
        std::optional<RunningProgram> program;
        if (running)
            QVERIFY(program.emplace().start());
        ProgramRun play;
        QCOMPARE(boxesWhile([&] {
                     play =
                         ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, arguments);
                 }),
                 placed(boxes));
        QCOMPARE(play.status, status);
        QCOMPARE(play.out, out);
        QCOMPARE(play.err, placed(err));
        QCOMPARE(folder.storedRows().size(), 1);
        QCOMPARE(folder.storedRows().value(0).status, mode);
        QCOMPARE(Checks::installedModes(gameFolder()).value(0), baseGame);
        QVERIFY(!QFile::exists(folder.databaseFile() + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(folder.file(u"game-files.journal"_s)), QByteArray());
        if (running) {
            QCOMPARE(program->inMain<QRadioButton>("Option2")->isChecked(), mode == u"Grimtide");
            QCOMPARE(program->inMain<QRadioButton>("Option1")->isChecked(), mode == u"Pure");
            QCOMPARE(program->inMain<QLabel>("Label4")->text(), mode);
        }
        // Lutris still waits for its release: --play has not waited for it.
        Checks::writeBytes(at(u"release"_s), {});
        if (status == 0) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(at(u"records/lutris"_s)), 10000);
            QCOMPARE(QString::fromUtf8(Checks::bytesOf(at(u"records/lutris"_s))),
                     placed(u"folder: $GAME\n"
                            "argument: lutris:rungame/battlefield-1942\n"
                            "WINEPREFIX: (not set)\n"
                            "PLAY_MARK: ours\n"_s));
        } else {
            QTest::qWait(500);
            QVERIFY(!QFile::exists(at(u"records/lutris"_s)));
        }
    }

    // While a dialog waits for the player, or the window is not up yet, no
    // click reaches the main window: the request is refused.
    void theRunningProgramRefusesWhileADialogWaits()
    {
        TestFolder folder;
        folder.writeSettings({.path = gameFolder()});
        RunningProgram program;
        QVERIFY(program.start());
        ProgramRun play;
        QTimer::singleShot(0, [&] {
            QWidget* chooser = QApplication::activeModalWidget();
            QVERIFY(chooser && chooser->objectName() == u"Form3");
            play = ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s,
                                  {u"--play"_s, u"grimtide"_s});
            chooser->findChild<QPushButton*>(u"Command2"_s)->click();
        });
        program.inMain<QAction>("mcrform")->trigger();
        QCOMPARE(play.status, 2);
        QCOMPARE(play.err, u"grimtide-switch: Grimtide Switch waits for an answer in one of its "
                           "windows; give it, then play again.\n"_s);
        QCOMPARE(folder.storedRows().value(0).status, u"Pure"_s);
        QVERIFY(program.inMain<QRadioButton>("Option1")->isChecked());
    }

    void dryRun_data()
    {
        QTest::addColumn<QString>("path"); // the row's install directory
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("Lutris") << lutrisGame << 0
                                << u"# Battlefield 1942 starts through Lutris, as its game "
                                   "\"battlefield-1942\".\n"
                                   "program=lutris\n"
                                   "argument=lutris:rungame/battlefield-1942\n"
                                   "folder=$HOME/Games/battlefield-1942/drive_c/Program Files/"
                                   "EA GAMES/Battlefield 1942\n"_s
                                << QString();
        QTest::newRow("no runner") << u"games/BF1942"_s << 1 << QString()
                                   << u"grimtide-switch: No runner is known for the game in "
                                      "\"$HOME/games/BF1942\": it lies in no Wine prefix. To start "
                                      "it anyway, set its command in \"$WORK/play.conf\": a line "
                                      "\"program=\" with the program, then a line \"argument=\" "
                                      "for each of its arguments.\n"_s;
        QTest::newRow("no install directory")
            << QString() << 1 << QString()
            << u"grimtide-switch: No install directory of Battlefield 1942 is chosen yet: start "
               "Grimtide Switch and choose it.\n"_s;
    }

    // Nothing is switched, started or written.
    void dryRun()
    {
        QFETCH(QString, path);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        TestFolder folder;
        folder.writeSettings({.path = path.isEmpty() ? path : at(path)});
        const QMap<QString, QByteArray> before = Checks::filesIn(folder.path());
        const ProgramRun play = ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s,
                                               {u"--play"_s, u"--dry-run"_s});
        QCOMPARE(play.status, status);
        QCOMPARE(play.out, placed(out));
        QCOMPARE(play.err, placed(err.replace(u"$WORK"_s, folder.path())));
        QCOMPARE(Checks::filesIn(folder.path()), before);
        Checks::writeBytes(at(u"release"_s), {});
        QTest::qWait(500);
        QVERIFY(!QFile::exists(at(u"records/lutris"_s)));
    }

private:
    QString at(const QString& relative) const { return QDir(home).filePath(relative); }

    // The start of the row's game, with its play.conf where it gives one.
    GameStart::Outcome startFromRow()
    {
        QFETCH(QString, gameFolder);
        QFETCH(QByteArray, ownCommand);
        if (!ownCommand.isNull())
            write(PlayerCommand::fileIn(work), ownCommand);
        return GameStart::start(GameRunners::planFor(at(gameFolder), home, work));
    }

    QString gameFolder() const { return at(lutrisGame); }
    QString game(const QString& relative) const { return QDir(gameFolder()).filePath(relative); }

    QString placed(QString text) const
    {
        return text.replace(u"$GAME"_s, gameFolder())
            .replace(u"$HOME"_s, home)
            .replace(u"$WORK"_s, work);
    }
    QStringList placed(QStringList texts) const
    {
        for (QString& text : texts)
            text = placed(text);
        return texts;
    }

    void placeGame(const QString& folder, const QString& program = u"BF1942.exe"_s)
    {
        Checks::writeBytes(at(folder + u'/' + program), {});
    }

    void write(const QString& relative, const QByteArray& text)
    {
        Checks::writeBytes(at(relative), placed(QString::fromUtf8(text)).toUtf8());
    }

    // Stand-ins for the launchers (no "steam": it is missing), which wait
    // for the test's release and then write what they were given to
    // records/NAME, and the test's own environment for them to inherit.
    void placeStandIns()
    {
        const QByteArray script = placed(uR"sh(#!/bin/sh
waited=0
while [ ! -e "$HOME/release" ] && [ $waited -lt 200 ]; do
    sleep 0.05
    waited=$((waited + 1))
done
record="$HOME/records/$(basename "$0")"
{
    echo "folder: $(pwd -P)"
    for argument in "$@"; do echo "argument: $argument"; done
    echo "WINEPREFIX: ${WINEPREFIX-(not set)}"
    echo "PLAY_MARK: ${PLAY_MARK-(not set)}"
} >"$record.part"
mv "$record.part" "$record"
)sh"_s)
                                      .toUtf8();
        for (const char* name : {"lutris", "bottles-cli", "xdg-open", "my start"}) {
            QFile file(at(u"bin/"_s + QString::fromUtf8(name)));
            Checks::writeBytes(file.fileName(), script);
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        QVERIFY(QDir(home).mkpath(u"records"_s));
        path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(at(u"bin"_s)) + ':' + path);
        qputenv("PLAY_MARK", "ours");
        qunsetenv("WINEPREFIX");
    }

    QTemporaryDir homeDir;
    QTemporaryDir workDir;
    QString home;
    QString work;
    QByteArray path;
};

QTEST_MAIN(TestPlay)
#include "test_play.moc"
