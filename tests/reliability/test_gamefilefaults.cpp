#include "core/app/SharedState.h"
#include "core/common/ErrorReport.h"
#include "core/gamefiles/GameFiles.h"
#include "core/mode/ModeSwitch.h"
#include "core/mode/ModeView.h"
#include "support/Checks.h"
#include "support/RecordingSink.h"
#include "support/TestFolder.h"

#include <QTest>

#include <cerrno>
#include <csignal>
#include <dlfcn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The fault shim's switches (see faultshim.cpp).
using Arm = void (*)(const char* call, int allowed, int error);
Arm arm = nullptr;
Arm armOnce = nullptr;

const QStringList packs{u"bf1942"_s, u"xpack1"_s, u"xpack2"_s};
const QStringList pureFiles{u"purebf"_s, u"purex1"_s, u"purex2"_s};
const QStringList grimtideFiles{u"unbf"_s, u"unx1"_s, u"unx2"_s};

class NoWindow : public ModeView {
    void showStatus(const QString&) override {}
    void showMode(GameMode) override {}
    void showPackChoice(ExpansionPack, const QString&) override {}
};

// The commands on the working folder, as a start leaves them.
struct Started {
    RecordingSink sink;
    ErrorReport report{sink};
    GameFiles files{QDir::currentPath()};
    SharedState state{report, sink, files, u"gtdb.inf"_s};
    NoWindow window;
    ModeSwitch modeSwitch{state, window};
    Started()
    {
        state.loadSettings();
        state.setLoading(false);
    }
};

// A game in pure mode with both packs.
struct PureGame {
    TestFolder folder;
    PureGame()
    {
        TestFolder::Row row = folder.gameRow();
        row.rtr = row.sw = u"yes"_s;
        folder.writeSettings(row);
        for (qsizetype i = 0; i < packs.size(); ++i)
            QFile::copy(folder.file(u"cons/%1.con"_s.arg(pureFiles[i])), initCon(i));
    }
    QString initCon(qsizetype pack) const
    {
        return folder.game() + u"/mods/%1/init.con"_s.arg(packs[pack]);
    }
    QStringList backups() const
    {
        QStringList found;
        for (const QString& pack : packs)
            found << QDir(folder.game() + u"/mods/"_s + pack)
                         .entryList({u"*.old"_s}, QDir::Files | QDir::Hidden);
        return found;
    }
    QString status() const { return folder.storedRows().value(0).status; }
};

} // namespace

class TestGameFileFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        arm = reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, "grimtide_fault_arm"));
        armOnce = reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, "grimtide_fault_arm_once"));
        if (!arm || !armOnce)
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aRefusedSecondRenameLeavesEveryGameFileAsItWas_data()
    {
        QTest::addColumn<bool>("once"); // or else the way back is refused too, until the next start
        QTest::newRow("refused once") << true;
        QTest::newRow("refused for good") << false;
    }

    void aRefusedSecondRenameLeavesEveryGameFileAsItWas()
    {
        QFETCH(bool, once);
        PureGame game;
        {
            Started program;
            program.modeSwitch.msetu(); // the game's own files are kept by now
            program.modeSwitch.msetp();
            (once ? armOnce : arm)("rename", 1, EIO);
            program.modeSwitch.msetu();
            arm(nullptr, 0, 0);
            QCOMPARE(
                program.sink.messages,
                QStringList{Checks::report(u"msetu"_s, FailureNumber::DeviceIo, game.initCon(1))});
            QCOMPARE(program.state.settings.status, u"Pure"_s);
            QCOMPARE(Checks::installedModes(game.folder.game()) == pureFiles, once);
        }
        Started next;
        QCOMPARE(Checks::installedModes(game.folder.game()), pureFiles);
        QCOMPARE(game.backups(), QStringList());
        QCOMPARE(game.status(), u"Pure"_s);
    }

    // Each call a switch makes (the save's included) is, in turn, the one at
    // which the child dies; the next start finds the game wholly in the mode
    // gtdb.inf holds, and gtdb.inf whole with its one row.
    void aSwitchKilledAtAnyStepIsPutRightByTheNextStart()
    {
        for (const char* call : {"write", "fdatasync", "rename", "fsync", "unlink"}) {
            for (int allowed = 0;; ++allowed) {
                PureGame game;
                const pid_t child = ::fork();
                if (child == 0) {
                    Started program;
                    arm(call, allowed, -SIGKILL);
                    program.modeSwitch.msetu();
                    ::_exit(0);
                }
                int status = 0;
                ::waitpid(child, &status, 0);
                Started next;
                const QString stored = game.status();
                QVERIFY2(
                    Checks::installedModes(game.folder.game())
                        == (stored == u"Pure"_s ? pureFiles : grimtideFiles),
                    qPrintable(u"%1 %2: %3"_s.arg(QLatin1String(call)).arg(allowed).arg(stored)));
                QCOMPARE(game.backups(), QStringList());
                QVERIFY(Checks::integrityOk(game.folder.databaseFile())
                        && game.folder.storedRows().size() == 1);
                if (!WIFSIGNALED(status)) {
                    QCOMPARE(stored, u"Grimtide"_s);
                    QVERIFY(allowed > 0);
                    break;
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestGameFileFaults)
#include "test_gamefilefaults.moc"
