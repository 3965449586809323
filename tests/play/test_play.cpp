#include "core/play/GameRunners.h"
#include "core/play/GameStart.h"
#include "core/play/PlayerCommand.h"
#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/RunningProgram.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString lutrisGame = u"Games/battlefield-1942/drive_c/EA GAMES/BF1942"_s;
const QString lutrisPlan = u"# Battlefield 1942 starts through Lutris, as its game "
                           "\"battlefield-1942\".\nprogram=lutris\n"
                           "argument=lutris:rungame/battlefield-1942\nfolder=$GAME\n"_s;
const QString howToSet = u" To start it anyway, set its command in \"$WORK/play.conf\": a line "
                         "\"program=\" with the program, then a line \"argument=\" for each of "
                         "its arguments.\n"_s;

// The text of each box shown while the action runs, each closed with its OK.
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

// What a stand-in records: the plan's own argument, WINEPREFIX and folder lines.
QString recordOf(const QString& plan)
{
    QStringList lines = plan.split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString& line) {
        return !line.startsWith(u"argument="_s) && !line.startsWith(u"environment=WINEPREFIX="_s)
               && !line.startsWith(u"folder="_s);
    });
    return lines.join(u'\n') + u'\n';
}

} // namespace

// A player's home with the game in each launcher's prefix, stand-ins for the launchers.
class TestPlay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        home = QDir(homeDir.path()).canonicalPath();
        work = QDir(workDir.path()).canonicalPath();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("TMPDIR", QFile::encodeName(at(u"tmp"_s)));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(at(u"cache"_s)));
        QVERIFY(QDir(home).mkpath(u"tmp"_s) && QDir(home).mkpath(u".wine/dosdevices"_s));
        QVERIFY(QFile::link(u"../drive_c"_s, at(u".wine/dosdevices/c:"_s)));
        for (const char* prefix :
             {".wine", "Games/battlefield-1942", "Games/shared",
              ".var/app/com.usebottles.bottles/data/bottles/bottles/BF",
              ".local/share/bottles/bottles/Battlefield-1942",
              "Games/Heroic/Prefixes/default/Battlefield 1942",
              ".local/share/Steam/steamapps/compatdata/3123456789/pfx",
              ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/24960/pfx"})
            placeGame(QString::fromUtf8(prefix) + u"/drive_c/EA GAMES/BF1942"_s);
        placeGame(u"games/BF1942"_s);
        write(u".config/lutris/games/battlefield-1942-1700000000.yml"_s,
              "game:\n  exe: drive_c/EA GAMES/BF1942/BF1942.exe\n"
              "  prefix: ~/Games/battlefield-1942\nsystem: {}\n");
        write(u".config/lutris/games/other-1700000002.yml"_s,
              "game:\n  exe: drive_c/Other/Other.exe\n  prefix: $HOME/Games/shared\n");
        write(u".var/app/com.usebottles.bottles/data/bottles/bottles/BF/bottle.yml"_s, "[1, 2]\n");
        write(u".local/share/bottles/bottles/Battlefield-1942/bottle.yml"_s,
              "Arch: win64\nName: Battlefield 1942\nPath: Battlefield-1942\n");
        write(u".config/heroic/GamesConfig/Hx7kQ2pLmN3vR8sT.json"_s,
              R"({"Hx7kQ2pLmN3vR8sT": {"winePrefix":
                  "~/Games/Heroic/Prefixes/default/Battlefield 1942", "wineVersion": {}}})");
        placeStandIns();
    }

    void cleanupTestCase() { qputenv("PATH", path); }

    // The Lutris game as the mod's install left it.
    void init()
    {
        QFile::remove(PlayerCommand::fileIn(work));
        QFile::remove(at(u"release"_s));
        QVERIFY(QDir(at(u"records"_s)).removeRecursively() && QDir(home).mkpath(u"records"_s));
        QVERIFY(QDir(game(u"mods"_s)).removeRecursively());
        for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
            QVERIFY(QDir().mkpath(game(u"mods/"_s + QLatin1String(folder))));
    }

    // The dry-run text, then the start: released after it returned, the stand-in records its run.
    void eachRunnerPlansAndStartsDetached_data()
    {
        QTest::addColumn<QString>("gameFolder");
        QTest::addColumn<QByteArray>("ownCommand"); // play.conf; "pipe" or "link" planted there
        QTest::addColumn<QString>("expected");
        // $F: the row's game folder.
        const auto row = [](const char* name, const QString& folder, const QString& expected) {
            QTest::newRow(name) << folder << QByteArray()
                                << QString(expected).replace(u"$F"_s, u"$HOME/"_s + folder);
        };
        const QString wine =
            u"# Battlefield 1942 starts under Wine, in the prefix $HOME/.wine.\nprogram=wine\n"
            "argument=BF1942.exe\nenvironment=WINEPREFIX=$HOME/.wine\n"
            "folder=$HOME/.wine/drive_c/EA GAMES/BF1942\n"_s;
        row("plain Wine prefix", u".wine/drive_c/EA GAMES/BF1942"_s, wine);
        row("through the prefix's C: link", u".wine/dosdevices/c:/EA GAMES/BF1942"_s, wine);
        row("Lutris, prefix in ~/Games", lutrisGame, lutrisPlan);
        row("Lutris prefix of another game", u"Games/shared/drive_c/EA GAMES/BF1942"_s,
            u"No runner is known for the game in \"$F\": Lutris keeps its prefix "
            "$HOME/Games/shared, but none of its games there starts BF1942.exe in that folder."_s
                + howToSet);
        row("Bottles", u".local/share/bottles/bottles/Battlefield-1942/drive_c/EA GAMES/BF1942"_s,
            u"# Battlefield 1942 starts through Bottles, in its bottle \"Battlefield 1942\".\n"
            "program=bottles-cli\nargument=run\nargument=-b\nargument=Battlefield 1942\n"
            "argument=-e\nargument=$F/BF1942.exe\nfolder=$F\n"_s);
        row("Bottles Flatpak, bottle.yml naming none",
            u".var/app/com.usebottles.bottles/data/bottles/bottles/BF/drive_c/EA GAMES/BF1942"_s,
            u"# Battlefield 1942 starts through Bottles (Flatpak), in its bottle \"BF\".\n"
            "program=flatpak\nargument=run\nargument=--command=bottles-cli\n"
            "argument=com.usebottles.bottles\nargument=run\nargument=-b\nargument=BF\n"
            "argument=-e\nargument=$F/BF1942.exe\nfolder=$F\n"_s);
        row("Heroic, sideloaded",
            u"Games/Heroic/Prefixes/default/Battlefield 1942/drive_c/EA GAMES/BF1942"_s,
            u"# Battlefield 1942 starts through Heroic, as its game \"Hx7kQ2pLmN3vR8sT\".\n"
            "program=xdg-open\nargument=heroic://launch/Hx7kQ2pLmN3vR8sT\nfolder=$F\n"_s);
        row("Steam, a game the player added",
            u".local/share/Steam/steamapps/compatdata/3123456789/pfx/drive_c/EA GAMES/BF1942"_s,
            u"# Battlefield 1942 starts through Steam, as its non-Steam game 3123456789.\n"
            "program=steam\nargument=steam://rungameid/13415144759257726976\nfolder=$F\n"_s);
        row("Steam Flatpak, a game of its own",
            u".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/24960/pfx/"
            "drive_c/EA GAMES/BF1942"_s,
            u"# Battlefield 1942 starts through Steam (Flatpak), as its game 24960.\n"
            "program=flatpak\nargument=run\nargument=com.valvesoftware.Steam\n"
            "argument=steam://rungameid/24960\nfolder=$F\n"_s);
        row("in no prefix", u"games/BF1942"_s,
            u"No runner is known for the game in \"$F\": it lies in no Wine prefix."_s + howToSet);
        row("no folder", u"gone/BF1942"_s, u"The game's folder \"$F\" is not there."_s + howToSet);

        const auto own = [](const char* name, const QByteArray& file, const QString& expected) {
            QTest::newRow(name) << u"games/BF1942"_s << file << expected;
        };
        const auto refused = [&own](const char* name, const QByteArray& file, const char* why) {
            own(name, file,
                u"\"$WORK/play.conf\" can't be used to start the game: %1.\n"_s.arg(
                    QString::fromUtf8(why)));
        };
        own("play.conf: every key, comments, spaces, CRLF",
            "\xEF\xBB\xBF# how I play\r\n\r\n  program = $HOME/bin/my start \r\n"
            "argument=+restart 1\nargument=\nenvironment=PLAY_MARK=play.conf's\n"
            "environment=WINEPREFIX=/p\nenvironment=EMPTY=\nfolder=$HOME/Games\n",
            u"# Battlefield 1942 starts as \"$WORK/play.conf\" says.\nprogram=$HOME/bin/my start\n"
            "argument=+restart 1\nargument=\nenvironment=PLAY_MARK=play.conf's\n"
            "environment=WINEPREFIX=/p\nenvironment=EMPTY=\nfolder=$HOME/Games\n"_s);
        refused("play.conf: no key", "program=wine\nBF1942.exe\n", "line 2: it is no key=value");
        refused("play.conf: unknown key", "command=wine BF1942.exe\n",
                "line 1: \"command\" is none of program, argument, environment and folder");
        refused("play.conf: program twice", "program=wine\nprogram=lutris\n",
                "line 2: it is given twice");
        refused("play.conf: empty program", "program=\n", "line 1: it is empty");
        refused("play.conf: environment without a name", "program=wine\nenvironment==1\n",
                "line 2: the entry is no NAME=value");
        refused("play.conf: environment without a value", "program=wine\nenvironment=WINEPREFIX\n",
                "line 2: the entry is no NAME=value");
        refused("play.conf: relative folder", "program=wine\nfolder=games\n",
                "line 2: the folder is no absolute path");
        refused("play.conf: no program", "# nothing\nargument=BF1942.exe\n", "it names no program");
        refused("play.conf: junk", QByteArray("program=wine\0\x01\x02", 15), "it is no text");
        refused("play.conf: no UTF-8", "program=w\xe9ine\n", "it is no text");
        refused("play.conf: huge", "program=wine\n" + QByteArray(PlayerCommand::largestFile, '#'),
                "it is larger than 64 KiB");
        // Whatever stands in the file's place is never read, and never waited on.
        refused("play.conf: a pipe", "pipe", "it is no plain file");
        refused("play.conf: a link to a good file", "link", "it is a link");
    }

    void eachRunnerPlansAndStartsDetached()
    {
        QFETCH(QString, expected);
        const PlayPlan plan = planFromRow();
        QCOMPARE(plan.dryRunText(), placed(expected));
        const GameStart::Outcome outcome = GameStart::start(plan);
        if (!plan.canStart()) {
            QVERIFY(!outcome.started);
            QCOMPARE(outcome.reason + u'\n', placed(expected));
            return;
        }
        QVERIFY2(outcome.started && outcome.processId > 0, qPrintable(outcome.reason));
        const QString standIn = QFileInfo(plan.program).fileName(); // records/NAME
        const QString record = recordOf(placed(expected));
        QVERIFY(!QFile::exists(at(u"records/"_s + standIn)));
        Checks::writeBytes(at(u"release"_s), {});
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(at(u"records/"_s + standIn)), 10000);
        QCOMPARE(QString::fromUtf8(Checks::bytesOf(at(u"records/"_s + standIn))), record);
    }

    void notStarted()
    {
        QStringList reasons;
        for (const char* file : {"program=$HOME/games/BF1942/BF1942.exe\n",
                                 "program=lutris\nenvironment=PATH=/nowhere\n",
                                 "program=lutris\nfolder=$HOME/gone\n"}) {
            Checks::writeBytes(PlayerCommand::fileIn(work),
                               QByteArray(file).replace("$HOME", QFile::encodeName(home)));
            reasons
                << GameStart::start(GameRunners::planFor(at(u"games/BF1942"_s), home, work)).reason;
        }
        QCOMPARE(reasons,
                 (QStringList{
                     placed(u"\"$HOME/games/BF1942/BF1942.exe\" is no program that can be run."_s),
                     u"\"lutris\" is not installed: no such command is on the PATH."_s,
                     placed(u"The folder \"$HOME/gone\" to start the game in is not there."_s)}));
    }

    void playsAloneOrThroughTheRunningProgram_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("game"); // in the row: "mod", "no mod" or none chosen
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said"); // on standard output after a success, else on error
        const QStringList grimtide{u"--play"_s, u"grimtide"_s};
        const QString pure = u"Pure mode: Battlefield 1942 starts through Lutris, as its game "
                             "\"battlefield-1942\".\n"_s;
        for (const bool running : {false, true}) {
            const auto row = [&](const char* name) -> QTestData& {
                return QTest::addRow("%s: %s", running ? "through the running program" : "alone",
                                     name)
                       << running;
            };
            row("grimtide") << grimtide << u"mod"_s << 0
                            << u"Grimtide mode: Battlefield 1942 starts through Lutris, as its "
                               "game \"battlefield-1942\".\n"_s;
            row("the row's mode") << QStringList{u"--play"_s} << u"mod"_s << 0 << pure;
            row("pure, the mode it is in, without the mod")
                << QStringList{u"--play"_s, u"pure"_s} << u"no mod"_s << 0 << pure;
            row("grimtide without the mod")
                << grimtide << u"no mod"_s << 2
                << u"grimtide-switch: Please check your options The folder $GAME/mods/gtide_base "
                   "does not exist: install the Grimtide mod first.\n"_s;
        }
        // Nothing is switched, started or written.
        const QStringList dryRun{u"--play"_s, u"--dry-run"_s};
        QTest::newRow("dry run") << false << dryRun << u"mod"_s << 0 << lutrisPlan;
        QTest::newRow("dry run, no install directory")
            << false << dryRun << QString() << 1
            << u"grimtide-switch: No install directory of Battlefield 1942 is chosen yet: start "
               "Grimtide Switch and choose it.\n"_s;
    }

    void playsAloneOrThroughTheRunningProgram()
    {
        QFETCH(bool, running);
        QFETCH(QStringList, arguments);
        QFETCH(QString, game);
        QFETCH(int, status);
        QFETCH(QString, said);
        if (game == u"no mod")
            QVERIFY(QDir(this->game(u"mods/gtide_base"_s)).removeRecursively());
        TestFolder folder;
        folder.writeSettings({.path = game.isEmpty() ? game : gameFolder()});
        std::optional<RunningProgram> program;
        if (running)
            QVERIFY(program.emplace().start());
        ProgramRun play;
        const QStringList boxes = boxesWhile([&] {
            play = ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, arguments);
        });
        said = placed(said);
        // The running program's box says it too, without the program's name.
        QCOMPARE(boxes, running && status != 0
                            ? QStringList{said.sliced(said.indexOf(u' ') + 1).chopped(1)}
                            : QStringList());
        QCOMPARE(play.status, status);
        QCOMPARE(status == 0 ? play.out : play.err, said);
        QCOMPARE(status == 0 ? play.err : play.out, QString());
        // One row, no journal; only a switch to Grimtide writes.
        const QString mode =
            status == 0 && arguments.contains(u"grimtide"_s) ? u"Grimtide"_s : u"Pure"_s;
        QCOMPARE(folder.storedRows().size(), 1);
        QCOMPARE(folder.storedRows().value(0).status, mode);
        QCOMPARE(Checks::installedModes(gameFolder()).value(0),
                 mode == u"Grimtide" ? u"unbf"_s : QString());
        QVERIFY(!QFile::exists(folder.databaseFile() + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(folder.file(u"game-files.journal"_s)), QByteArray());
        if (running) {
            QCOMPARE(program->inMain<QRadioButton>("Option2")->isChecked(), mode == u"Grimtide");
            QCOMPARE(program->inMain<QLabel>("Label4")->text(), mode);
        }
        // Lutris still waits for its release: --play has not waited for it.
        Checks::writeBytes(at(u"release"_s), {});
        if (status == 0 && !arguments.contains(u"--dry-run"_s)) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(at(u"records/lutris"_s)), 10000);
            QCOMPARE(QString::fromUtf8(Checks::bytesOf(at(u"records/lutris"_s))),
                     recordOf(placed(lutrisPlan)));
        } else {
            QTest::qWait(500);
            QVERIFY(!QFile::exists(at(u"records/lutris"_s)));
        }
    }

private:
    QString at(const QString& relative) const { return QDir(home).filePath(relative); }

    PlayPlan planFromRow()
    {
        QFETCH(QString, gameFolder);
        QFETCH(QByteArray, ownCommand);
        const QString file = PlayerCommand::fileIn(work);
        Checks::writeBytes(at(u"good.conf"_s), "program=wine\n");
        if (ownCommand == "link")
            QFile::link(at(u"good.conf"_s), file); // a link's refusal says it is one
        else if (ownCommand == "pipe")
            Checks::plant(u"pipe"_s, file);
        else if (!ownCommand.isNull())
            Checks::writeBytes(file, ownCommand.replace("$HOME", QFile::encodeName(home)));
        return GameRunners::planFor(at(gameFolder), home, work);
    }

    QString gameFolder() const { return at(lutrisGame); }
    QString game(const QString& relative) const { return QDir(gameFolder()).filePath(relative); }

    QString placed(QString text) const
    {
        return text.replace(u"$GAME"_s, gameFolder())
            .replace(u"$HOME"_s, home)
            .replace(u"$WORK"_s, work);
    }

    void placeGame(const QString& folder) { Checks::writeBytes(at(folder + u"/BF1942.exe"_s), {}); }

    void write(const QString& relative, const QByteArray& text)
    {
        Checks::writeBytes(at(relative), placed(QString::fromUtf8(text)).toUtf8());
    }

    // Each stand-in waits for the test's release, then writes records/NAME.
    void placeStandIns()
    {
        const QByteArray script = placed(uR"sh(#!/bin/sh
for wait in $(seq 200); do [ -e "$HOME/release" ] && break; sleep 0.05; done
record="$HOME/records/$(basename "$0")"
{
    for argument in "$@"; do echo "argument=$argument"; done
    [ -z "${WINEPREFIX+set}" ] || echo "environment=WINEPREFIX=$WINEPREFIX"
    echo "folder=$(pwd -P)"
} >"$record.part" && mv "$record.part" "$record"
)sh"_s)
                                      .toUtf8();
        for (const char* name :
             {"wine", "lutris", "bottles-cli", "xdg-open", "steam", "flatpak", "my start"}) {
            QFile file(at(u"bin/"_s + QString::fromUtf8(name)));
            Checks::writeBytes(file.fileName(), script);
            QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(at(u"bin"_s)) + ':' + path);
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
