#include "core/platform/GameProcess.h"

#include <QScopeGuard>
#include <QTest>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

extern char** environ;

class TestGameProcess : public QObject {
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
        const auto state = [&] {
            QFile stat(process + u"stat"_s);
            return stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        };
        QTRY_VERIFY(state().contains(") Z "));
        QCOMPARE(GameProcess::running(), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestGameProcess)
#include "test_gameprocess.moc"
