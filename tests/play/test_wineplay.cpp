#include "core/platform/GameProcess.h"
#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/TestFolder.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY2(process.waitForFinished(120000), qPrintable(program));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

} // namespace

// Battlefield 1942 (a small Windows stand-in) started under Debian's own Wine.
class TestWinePlay : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* command : {"wine", "wineboot", "wineserver", "x86_64-w64-mingw32-gcc"}) {
            if (QStandardPaths::findExecutable(QString::fromUtf8(command)).isEmpty())
                QSKIP(qPrintable(
                    u"%1 is not installed (scripts/setup-packages test installs it)"_s.arg(
                        QString::fromUtf8(command))));
        }
        QVERIFY(homeDir.isValid());
        home = QDir(homeDir.path()).canonicalPath();
        game = home + u"/.wine/drive_c/Program Files/EA GAMES/Battlefield 1942"_s;
        for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
            QVERIFY(QDir(game).mkpath(u"mods/"_s + QLatin1String(folder)));
        // Quiet, windowless, no Mono or Gecko, nothing written outside the home.
        qputenv("WINEDEBUG", "-all");
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home));
        QVERIFY(QDir(home).mkpath(u"tmp"_s));
        qputenv("TMPDIR", QFile::encodeName(home + u"/tmp"_s));
        QVERIFY(!GameProcess::running());
        run(u"x86_64-w64-mingw32-gcc"_s, {u"-Wall"_s, u"-O1"_s, u"-o"_s, game + u"/BF1942.exe"_s,
                                          QString::fromUtf8(GRIMTIDE_FAKEGAME_SOURCE)});
        prefix = QProcessEnvironment::systemEnvironment();
        prefix.insert(u"WINEPREFIX"_s, home + u"/.wine"_s);
        run(u"wineboot"_s, {u"--init"_s}, prefix);
    }

    // No game is left to refuse the next test's switches.
    void cleanupTestCase() { endGame(); }

    void playSwitchesStartsAndKeepsToTheRunningGame()
    {
        TestFolder folder;
        folder.writeSettings({.path = game});
        const QString running = u"grimtide-switch: Battlefield 1942 is running: please close it "
                                "first\\. Nothing was written to the game; it runs as process "
                                "[0-9]+ \\(BF1942\\.exe\\)\\.\n"_s;
        const struct Step {
            const char* name;
            QStringList arguments;
            int status;
            QString baseGame; // the cons file in bf1942/init.con after it
            bool endsTheGameFirst = false;
        } steps[] = {
            {"switched and started", {u"--play"_s, u"grimtide"_s}, 0, u"unbf"_s},
            {"a switch while it runs", {u"--play"_s, u"pure"_s}, 2, u"unbf"_s},
            {"a second start", {u"--play"_s}, 1, u"unbf"_s},
            {"a switch once it has ended", {u"--play"_s, u"pure"_s}, 0, u"purebf"_s, true},
        };
        for (const Step& step : steps) {
            if (step.endsTheGameFirst)
                endGame();
            QFile::remove(game + u"/played.txt"_s);
            const ProgramRun play =
                ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, step.arguments);
            QVERIFY2(play.status == step.status, step.name);
            const QString mode = step.baseGame == u"unbf" ? u"Grimtide"_s : u"Pure"_s;
            if (step.status == 0) {
                QCOMPARE(
                    play.out,
                    u"%1 mode: Battlefield 1942 starts under Wine, in the prefix %2/.wine.\n"_s.arg(
                        mode, home));
                // Back before the game has ended: it runs now.
                QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(game + u"/played.txt"_s), 60000);
                QCOMPARE(Checks::bytesOf(game + u"/played.txt"_s),
                         "folder: C:\\Program Files\\EA GAMES\\Battlefield 1942\n");
                QVERIFY(GameProcess::running().has_value());
            } else {
                QVERIFY2(QRegularExpression(u'^' + running + u'$').match(play.err).hasMatch(),
                         qPrintable(play.err));
            }
            QVERIFY2(Checks::installedModes(game).value(0) == step.baseGame, step.name);
            QCOMPARE(folder.storedRows().size(), 1);
            QCOMPARE(folder.storedRows().value(0).status, mode);
            QVERIFY(!QFile::exists(folder.databaseFile() + u"-journal"_s));
            QCOMPARE(Checks::bytesOf(folder.file(u"game-files.journal"_s)), QByteArray());
        }
    }

private:
    void endGame()
    {
        if (prefix.isEmpty())
            return;
        QProcess server;
        server.setProcessEnvironment(prefix);
        server.start(u"wineserver"_s, {u"-k"_s});
        server.waitForFinished(30000);
        QTRY_VERIFY_WITH_TIMEOUT(!GameProcess::running(), 30000);
    }

    QTemporaryDir homeDir;
    QProcessEnvironment prefix; // the environment for Wine's own tools
    QString home;
    QString game;
};

QTEST_GUILESS_MAIN(TestWinePlay)
#include "test_wineplay.moc"
