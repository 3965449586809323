#include "core/play/PlayerCommand.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "support/Checks.h"
#include "support/FakeTray.h"
#include "support/ProgramRun.h"
#include "support/TestFolder.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The game where Lutris keeps it, as its record names it.
const QString lutrisGame = u"Games/battlefield-1942/drive_c/Program Files/EA GAMES/"
                           "Battlefield 1942"_s;
const QString started = u"Grimtide mode: Battlefield 1942 starts through Lutris, as its game "
                        "\"battlefield-1942\".\n"_s;

// The program as the player started it in the test's working folder.
struct RunningProgram {
    FakeTray tray;
    Program program{tray};

    bool start()
    {
        return program.start() && QTest::qWaitFor([this] { return tray.shown; }, 30000);
    }
    template <typename Control> Control* inMain(const char* name)
    {
        return program.module().mainWindow().findChild<Control*>(QString::fromLatin1(name));
    }
};

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

// --play in a working folder whose row points at a Lutris game, with a
// stand-in for Lutris on the PATH: alone, and through the program running
// in the folder.
class TestPlayCommand : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(homeDir.isValid());
        home = QDir(homeDir.path()).canonicalPath();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home));
        qputenv("TMPDIR", QFile::encodeName(at(u"tmp"_s)));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(at(u"cache"_s)));
        QVERIFY(QDir(home).mkpath(u"tmp"_s) && QDir(home).mkpath(u"records"_s));
        Checks::writeBytes(at(u".config/lutris/games/battlefield-1942-1700000000.yml"_s),
                           "game:\n  exe: drive_c/Program Files/EA GAMES/Battlefield 1942/"
                           "BF1942.exe\n  prefix: ~/Games/battlefield-1942\nsystem: {}\n");
        // It waits for the test's release, then writes what it was given.
        const QString lutris = at(u"bin/lutris"_s);
        Checks::writeBytes(lutris, "#!/bin/sh\n"
                                   "waited=0\n"
                                   "while [ ! -e \"$HOME/release\" ] && [ $waited -lt 200 ]; do\n"
                                   "    sleep 0.05\n"
                                   "    waited=$((waited + 1))\n"
                                   "done\n"
                                   "{\n"
                                   "    echo \"folder: $(pwd -P)\"\n"
                                   "    for argument in \"$@\"; do echo \"argument: $argument\"; "
                                   "done\n"
                                   "} >\"$HOME/records/lutris.part\"\n"
                                   "mv \"$HOME/records/lutris.part\" \"$HOME/records/lutris\"\n");
        QVERIFY(
            QFile(lutris).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("PATH", QFile::encodeName(at(u"bin"_s)) + ':' + qgetenv("PATH"));
    }

    // A game without the mode files of an earlier switch, the mod installed.
    void init()
    {
        QDir(at(u"Games"_s)).removeRecursively();
        Checks::writeBytes(game(u"BF1942.exe"_s), {});
        for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
            QVERIFY(QDir().mkpath(game(u"mods/"_s + QLatin1String(folder))));
        QFile::remove(at(u"release"_s));
        QFile::remove(at(u"records/lutris"_s));
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
            QCOMPARE(Checks::bytesOf(at(u"records/lutris"_s)),
                     "folder: " + gameFolder().toUtf8()
                         + "\nargument: lutris:rungame/battlefield-1942\n");
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
        QTest::addColumn<QByteArray>("playConf");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("Lutris") << lutrisGame << QByteArray() << 0
                                << u"# Battlefield 1942 starts through Lutris, as its game "
                                   "\"battlefield-1942\".\n"
                                   "program=lutris\n"
                                   "argument=lutris:rungame/battlefield-1942\n"
                                   "folder=$HOME/Games/battlefield-1942/drive_c/Program Files/"
                                   "EA GAMES/Battlefield 1942\n"_s
                                << QString();
        QTest::newRow("play.conf") << lutrisGame
                                   << QByteArray("program=wine\nargument=BF1942.exe\n"
                                                 "environment=WINEDEBUG=-all\n")
                                   << 0
                                   << u"# Battlefield 1942 starts as \"$WORK/play.conf\" says.\n"
                                      "program=wine\n"
                                      "argument=BF1942.exe\n"
                                      "environment=WINEDEBUG=-all\n"
                                      "folder=$HOME/Games/battlefield-1942/drive_c/Program Files/"
                                      "EA GAMES/Battlefield 1942\n"_s
                                   << QString();
        QTest::newRow("no runner") << u"games/BF1942"_s << QByteArray() << 1 << QString()
                                   << u"grimtide-switch: No runner is known for the game in "
                                      "\"$HOME/games/BF1942\": it lies in no Wine prefix. To start "
                                      "it anyway, set its command in \"$WORK/play.conf\": a line "
                                      "\"program=\" with the program, then a line \"argument=\" "
                                      "for each of its arguments.\n"_s;
        QTest::newRow("no install directory")
            << QString() << QByteArray() << 1 << QString()
            << u"grimtide-switch: No install directory of Battlefield 1942 is chosen yet: start "
               "Grimtide Switch and choose it.\n"_s;
    }

    // Nothing is switched, started or written.
    void dryRun()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, playConf);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        Checks::writeBytes(at(u"games/BF1942/BF1942.exe"_s), {});
        TestFolder folder;
        folder.writeSettings({.path = path.isEmpty() ? path : at(path)});
        if (!playConf.isNull())
            Checks::writeBytes(PlayerCommand::fileIn(folder.path()), playConf);
        const QMap<QString, QByteArray> before = Checks::filesIn(folder.path());
        const ProgramRun play = ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s,
                                               {u"--play"_s, u"--dry-run"_s});
        QCOMPARE(play.status, status);
        work = folder.path();
        QCOMPARE(play.out, placed(out));
        QCOMPARE(play.err, placed(err));
        QCOMPARE(Checks::filesIn(folder.path()), before);
        Checks::writeBytes(at(u"release"_s), {});
        QTest::qWait(500);
        QVERIFY(!QFile::exists(at(u"records/lutris"_s)));
    }

private:
    QString at(const QString& relative) const { return QDir(home).filePath(relative); }
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

    QTemporaryDir homeDir;
    QString home;
    QString work; // the working folder of the test that runs
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    TestPlayCommand test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_playcommand.moc"
