#include "core/app/Session.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "support/Checks.h"
#include "support/FaultShim.h"
#include "support/StartedSession.h"
#include "support/TestFolder.h"

#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QStringList pureFiles{u"purebf"_s, u"purex1"_s, u"purex2"_s};
const QStringList grimtideFiles{u"unbf"_s, u"unx1"_s, u"unx2"_s};

// A game in pure mode with both packs.
struct PureGame : TestFolder {
    PureGame()
    {
        TestFolder::Row row = gameRow();
        row.rtr = row.sw = u"yes"_s;
        writeSettings(row);
        for (qsizetype pack = 0; pack < 3; ++pack)
            QFile::copy(file(u"cons/%1.con"_s.arg(pureFiles[pack])), initCon(pack));
    }
    QString initCon(qsizetype pack) const
    {
        return game()
               + u"/mods/%1/init.con"_s.arg(
                   QStringList{u"bf1942"_s, u"xpack1"_s, u"xpack2"_s}[pack]);
    }
    QStringList backups() const { return Checks::filesIn(game()).keys().filter(u".old"_s); }
    QString status() const { return storedRows().value(0).status; }
};

// Each call of each kind in turn kills a child running the action; then the check runs.
void killAtEveryCall(const std::function<void(PureGame&)>& prepare,
                     const std::function<void(Session&)>& action,
                     const std::function<void(PureGame&, bool ended, const QString& at)>& check)
{
    for (const char* call : {"write", "fdatasync", "rename", "fsync", "unlink"}) {
        for (int allowed = 0;; ++allowed) {
            PureGame game;
            prepare(game);
            const pid_t child = ::fork();
            if (child == 0) {
                // A refusal must end the child too: returned into the test, it would wait for
                // QtTest's thread, which a fork does not copy, and the parent for it.
                Checks::failureOf([&] {
                    StartedSession program;
                    FaultShim::arm(call, allowed, -SIGKILL);
                    action(program.session);
                });
                ::_exit(0);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            StartedSession next;
            const bool ended = !WIFSIGNALED(status);
            check(game, ended, u"%1 %2"_s.arg(QLatin1String(call)).arg(allowed));
            if (QTest::currentTestFailed())
                return;
            if (ended) {
                QVERIFY(allowed > 0);
                break;
            }
        }
    }
}

// The n+1-th call fails with the error, once or until the next start (the way back too), and
// the failure shown names pack N's init.con.
struct Refusal {
    const char* call;
    int allowed, error;
    bool once;
    int number, pack;
};

} // namespace

Q_DECLARE_METATYPE(Refusal)

class TestGameFileFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!FaultShim::isLoaded())
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aRefusedCallLeavesEveryGameFileAsItWas_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("a rename refused once") << Refusal{"rename", 1, EIO, true, 57, 1};
        QTest::newRow("a rename refused for good") << Refusal{"rename", 1, EIO, false, 57, 1};
        QTest::newRow("a full disk") << Refusal{"write", 0, ENOSPC, true, 61, 0};
        QTest::newRow("a failed sync") << Refusal{"fdatasync", 1, EIO, true, 57, 1};
    }

    void aRefusedCallLeavesEveryGameFileAsItWas()
    {
        QFETCH(Refusal, refusal);
        const auto& [call, allowed, error, once, number, pack] = refusal;
        PureGame game;
        {
            StartedSession program;
            program.session.switchTo(GameMode::Grimtide); // the game's own files are kept by now
            program.session.switchTo(GameMode::Pure);
            FaultShim::arm(call, allowed, error, once);
            QString failed;
            try {
                program.session.switchTo(GameMode::Grimtide);
            } catch (const Failure& failure) {
                failed = u"%1 %2"_s.arg(failure.number()).arg(failure.place());
            }
            FaultShim::arm(nullptr, 0, 0);
            QCOMPARE(failed, u"%1 %2"_s.arg(number).arg(game.initCon(pack)));
            QCOMPARE(program.session.record().status, u"Pure"_s);
            QCOMPARE(Checks::installedModes(game.game()) == pureFiles, once);
        }
        StartedSession next;
        QCOMPARE(Checks::installedModes(game.game()), pureFiles);
        QCOMPARE(game.backups(), QStringList());
        QCOMPARE(game.status(), u"Pure"_s);
    }

    // The save's calls included: the game wholly in the mode gtdb.inf holds, gtdb.inf whole.
    void aSwitchKilledAtAnyStepIsPutRightByTheNextStart()
    {
        killAtEveryCall(
            [](PureGame&) {}, [](Session& session) { session.switchTo(GameMode::Grimtide); },
            [](PureGame& game, bool ended, const QString& at) {
                const QString stored = game.status();
                QVERIFY2(Checks::installedModes(game.game())
                             == (stored == u"Pure"_s ? pureFiles : grimtideFiles),
                         qPrintable(at + u": "_s + stored));
                QCOMPARE(game.backups(), QStringList());
                QVERIFY(Checks::integrityOk(game.databaseFile()) && game.storedRows().size() == 1);
                QVERIFY(!ended || stored == u"Grimtide"_s);
            });
    }

    // The game's archives as gtdb.inf's choices say, or as the game held them.
    void picksKilledAtAnyStepArePutRightByTheNextStart()
    {
        const QString crosshairs = u"game/mods/gtide_base/archives/menu.rfa"_s;
        const QString reticles = u"game/mods/gtide_base/archives/bf1942/game.rfa"_s;
        const QMap<QString, QByteArray> archives{{u"cons/cr/4/menu.rfa"_s, "crosshair 4"},
                                                 {u"cons/cr/5/menu.rfa"_s, "crosshair 5"},
                                                 {u"cons/rt/2/game.rfa"_s, "reticle 2"},
                                                 {crosshairs, "own crosshairs"},
                                                 {reticles, "own reticles"}};
        killAtEveryCall(
            [&](PureGame& game) {
                for (auto file = archives.cbegin(); file != archives.cend(); ++file)
                    Checks::writeBytes(game.file(file.key()), file.value());
            },
            [](Session& session) {
                session.pick(Catalogue::Kind::Crosshair, 4);
                session.pick(Catalogue::Kind::Reticle, 2);
                session.pick(Catalogue::Kind::Crosshair, 5);
                session.keepChoices(5, 2);
            },
            [&](PureGame& game, bool ended, const QString& at) {
                const bool kept = game.storedRows().value(0).cr == u"5"_s;
                QCOMPARE(Checks::bytesOf(game.file(crosshairs)),
                         kept ? QByteArray("crosshair 5") : QByteArray("own crosshairs"));
                QCOMPARE(Checks::bytesOf(game.file(reticles)),
                         kept ? QByteArray("reticle 2") : QByteArray("own reticles"));
                QVERIFY2(game.backups().isEmpty(), qPrintable(at));
                QVERIFY(!ended || kept);
            });
    }
};

QTEST_GUILESS_MAIN(TestGameFileFaults)
#include "test_gamefilefaults.moc"
