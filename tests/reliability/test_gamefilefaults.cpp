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

const QStringList packs{u"bf1942"_s, u"xpack1"_s, u"xpack2"_s};
const QStringList pureFiles{u"purebf"_s, u"purex1"_s, u"purex2"_s};
const QStringList grimtideFiles{u"unbf"_s, u"unx1"_s, u"unx2"_s};

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
        if (!FaultShim::isLoaded())
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aRefusedCallLeavesEveryGameFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("allowed");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("once"); // or else the way back is refused too, until the next start
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("pack"); // whose file the failure names
        QTest::newRow("a rename refused once")
            << QByteArray("rename") << 1 << EIO << true << 57 << 1;
        QTest::newRow("a rename refused for good")
            << QByteArray("rename") << 1 << EIO << false << 57 << 1;
        QTest::newRow("a full disk") << QByteArray("write") << 0 << ENOSPC << true << 61 << 0;
        QTest::newRow("a failed sync") << QByteArray("fdatasync") << 1 << EIO << true << 57 << 1;
    }

    void aRefusedCallLeavesEveryGameFileAsItWas()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, allowed);
        QFETCH(int, error);
        QFETCH(bool, once);
        QFETCH(int, number);
        QFETCH(int, pack);
        PureGame game;
        {
            StartedSession program;
            program.session.switchTo(GameMode::Grimtide); // the game's own files are kept by now
            program.session.switchTo(GameMode::Pure);
            FaultShim::arm(call.constData(), allowed, error, once);
            int failed = 0;
            QString failedAt;
            try {
                program.session.switchTo(GameMode::Grimtide);
            } catch (const Failure& failure) {
                failed = failure.number();
                failedAt = failure.place();
            }
            FaultShim::arm(nullptr, 0, 0);
            QCOMPARE(failed, number);
            QCOMPARE(failedAt, game.initCon(pack));
            QCOMPARE(program.session.record().status, u"Pure"_s);
            QCOMPARE(Checks::installedModes(game.folder.game()) == pureFiles, once);
        }
        StartedSession next;
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
                    Checks::failureOf([&] {
                        StartedSession program;
                        FaultShim::arm(call, allowed, -SIGKILL);
                        program.session.switchTo(GameMode::Grimtide);
                    });
                    ::_exit(0);
                }
                int status = 0;
                ::waitpid(child, &status, 0);
                StartedSession next;
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

    // The chooser's picks, a choice picked again and the OK that keeps them,
    // each call in turn the one at which the child dies: the next start finds
    // the game's archives as gtdb.inf's choices say, or as the game held them.
    void picksKilledAtAnyStepArePutRightByTheNextStart()
    {
        const QString crosshairs = u"game/mods/gtide_base/archives/menu.rfa"_s;
        const QString reticles = u"game/mods/gtide_base/archives/bf1942/game.rfa"_s;
        const QMap<QString, QByteArray> archives{{u"cons/cr/4/menu.rfa"_s, "crosshair 4"},
                                                 {u"cons/cr/5/menu.rfa"_s, "crosshair 5"},
                                                 {u"cons/rt/2/game.rfa"_s, "reticle 2"},
                                                 {crosshairs, "own crosshairs"},
                                                 {reticles, "own reticles"}};
        for (const char* call : {"write", "fdatasync", "rename", "fsync", "unlink"}) {
            for (int allowed = 0;; ++allowed) {
                PureGame game;
                for (auto file = archives.cbegin(); file != archives.cend(); ++file)
                    Checks::writeBytes(game.folder.file(file.key()), file.value());
                const pid_t child = ::fork();
                if (child == 0) {
                    // A refusal must end the child too: returned into the
                    // test, it would wait for QtTest's thread, which a fork
                    // does not copy, and the parent for it.
                    Checks::failureOf([&] {
                        StartedSession program;
                        FaultShim::arm(call, allowed, -SIGKILL);
                        program.session.pick(Catalogue::Kind::Crosshair, 4);
                        program.session.pick(Catalogue::Kind::Reticle, 2);
                        program.session.pick(Catalogue::Kind::Crosshair, 5);
                        program.session.keepChoices(5, 2);
                    });
                    ::_exit(0);
                }
                int status = 0;
                ::waitpid(child, &status, 0);
                StartedSession next;
                const bool kept = game.folder.storedRows().value(0).cr == u"5"_s;
                const QString at = u"%1 %2"_s.arg(QLatin1String(call)).arg(allowed);
                QCOMPARE(Checks::bytesOf(game.folder.file(crosshairs)),
                         kept ? QByteArray("crosshair 5") : QByteArray("own crosshairs"));
                QCOMPARE(Checks::bytesOf(game.folder.file(reticles)),
                         kept ? QByteArray("reticle 2") : QByteArray("own reticles"));
                QVERIFY2(Checks::filesIn(game.folder.game()).keys().filter(u".old"_s).isEmpty(),
                         qPrintable(at));
                if (!WIFSIGNALED(status)) {
                    QVERIFY(kept);
                    break;
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestGameFileFaults)
#include "test_gamefilefaults.moc"
