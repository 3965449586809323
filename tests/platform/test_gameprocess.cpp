#include "core/platform/GameProcess.h"

#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>

using namespace Qt::StringLiterals;

extern char** environ;

namespace {

// A child started from the program file under another name (argv[0]), as
// exec -a starts one.
class NamedChild {
public:
    NamedChild(const char* program, std::initializer_list<const char*> arguments)
    {
        std::vector<char*> argv;
        for (const char* argument : arguments)
            argv.push_back(const_cast<char*>(argument));
        argv.push_back(nullptr);
        if (::posix_spawn(&m_pid, program, nullptr, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
    }
    ~NamedChild()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    NamedChild(const NamedChild&) = delete;
    NamedChild& operator=(const NamedChild&) = delete;

    pid_t pid() const { return m_pid; }
    // Once the child runs the program file, not a copy of this test.
    bool runs(const QString& program) const
    {
        return QFileInfo(u"/proc/%1/exe"_s.arg(m_pid)).canonicalFilePath()
               == QFileInfo(program).canonicalFilePath();
    }

private:
    pid_t m_pid = -1;
};

} // namespace

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
        row("started under the name", "sleep\n",
            "BF1942.exe\0"
            "60\0"_ba,
            true);
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

    // Its own name stays "sleep"; the name it was started under is the game's.
    void aProgramStartedUnderTheGamesNameIsFound()
    {
        const NamedChild game("/bin/sleep", {"BF1942.exe", "60"});
        QTRY_VERIFY(game.runs(u"/bin/sleep"_s));
        QCOMPARE(GameProcess::running(), u"process %1 (BF1942.exe)"_s.arg(game.pid()));
    }

    // Ended but not yet collected by its parent, the game runs no more.
    void aGameThatHasEndedIsNotRunning()
    {
        QTemporaryDir folder;
        const QString game = folder.filePath(u"BF1942.exe"_s);
        QVERIFY(QFile::copy(u"/bin/true"_s, game));
        const NamedChild ended(QFile::encodeName(game).constData(), {"BF1942.exe"});
        const auto state = [&ended] {
            QFile stat(u"/proc/%1/stat"_s.arg(ended.pid()));
            return stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
        };
        QTRY_VERIFY(state().contains(") Z "));
        QCOMPARE(GameProcess::running(), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestGameProcess)
#include "test_gameprocess.moc"
