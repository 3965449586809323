#include "core/platform/GameProcess.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

bool hasThread(qint64 pid, const QByteArray& name)
{
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::ranges::any_of(ids, [&](const QString& task) {
        return Checks::bytesOf(tasks.filePath(task + u"/comm"_s)).trimmed() == name;
    });
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    // A name as the system shows it ends in a line break; a command line's arguments each in a
    // zero byte.
    void aProcessIsTheGameByWhatRuns_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("commandLine");
        QTest::addColumn<bool>("game");
        const auto row = [](const char* tag, QByteArray name, QByteArray line, bool game) {
            QTest::newRow(tag) << name << line << game;
        };
        row("named by Wine", "BF1942.exe\n", "C:\\Games\\Battlefield 1942\\BF1942.exe\0"_ba, true);
        row("named in another case", "bf1942.EXE\n", {}, true);
        row("started under the name", "sleep\n", "BF1942.exe\0"_ba, true);
        row("started under the name in a folder", "sleep\n", "/games/bf/Bf1942.Exe\0"_ba, true);
        row("wine's program", "wine\n", "/usr/bin/wine\0C:\\Games\\BF1942.exe\0"_ba, true);
        row("the preloader's program, the name cut", "wine64-preloade\n",
            "/usr/lib/wine/wine64-preloader\0/usr/lib/wine/wine64\0BF1942.exe\0"_ba, true);
        row("a Wine tool given the game", "notepad.exe\n",
            "C:\\windows\\notepad.exe\0C:\\Games\\Battlefield 1942\\BF1942.exe\0"_ba, false);
        row("wine running a tool given the game", "wine\n", "wine\0notepad.exe\0BF1942.exe\0"_ba,
            false);
        row("not a loader, if named like one", "winecfg\n", "winecfg\0BF1942.exe\0"_ba, false);
        row("a name that only ends so", "MyBF1942.exe\n", "/g/notBF1942.exe\0"_ba, false);
        row("a loader alone", "wine\n", "wine\0"_ba, false);
        row("nothing read", {}, {}, false);
    }

    void aProcessIsTheGameByWhatRuns()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, commandLine);
        QFETCH(bool, game);
        QCOMPARE(GameProcess::isTheGame(name, commandLine), game);
    }

    // Started as exec -a starts it; ended but not yet collected by its parent, it runs no more.
    void aProgramStartedUnderTheGamesNameRunsUntilItEnds()
    {
        char* argv[] = {const_cast<char*>("BF1942.exe"), const_cast<char*>("60"), nullptr};
        pid_t pid = -1;
        QCOMPARE(::posix_spawn(&pid, "/bin/sleep", nullptr, nullptr, argv, environ), 0);
        const auto reap = qScopeGuard([pid] { ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0); });
        const QString process = u"/proc/%1/"_s.arg(pid);
        QTRY_COMPARE(QFileInfo(process + u"exe"_s).canonicalFilePath(),
                     QFileInfo(u"/bin/sleep"_s).canonicalFilePath());
        QCOMPARE(GameProcess::running(), u"process %1 (BF1942.exe)"_s.arg(pid));
        ::kill(pid, SIGKILL);
        QTRY_VERIFY(Checks::bytesOf(process + u"stat"_s).contains(") Z "));
        QCOMPARE(GameProcess::running(), std::nullopt);
    }

    // On an X screen Qt's accessibility calls the bus at the first window, and waits for good.
    void aFrozenBusBeforeTheStartHoldsNoSignal()
    {
        QProcess screen, bus, program;
        screen.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(screen.waitForReadyRead(10000) && bus.waitForReadyRead(10000));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"DISPLAY"_s, u':' + QString::fromLatin1(screen.readLine().trimmed()));
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                           QString::fromLatin1(bus.readLine().trimmed()));
        ::kill(pid_t(bus.processId()), SIGSTOP);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(GRIMTIDE_SWITCH_PROGRAM), {});
        // Qt's bus thread comes with the window thread's first call to the bus.
        QTRY_VERIFY_WITH_TIMEOUT(hasThread(program.processId(), "QDBusConnection"), 30000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE_LT(sinceSignal.elapsed(), 2000);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().endsWith("grimtide-switch: the close could not run: "
                                                        "the window did not answer the signal in "
                                                        "time.\n"));
        ::kill(pid_t(bus.processId()), SIGCONT);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
