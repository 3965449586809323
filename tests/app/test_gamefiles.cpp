#include "core/app/Session.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/StartedSession.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QProcess>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The base game's and Road to Rome's own init.con and, where asked, the mod's real archives.
struct OwnGame : TestProgram {
    explicit OwnGame(bool realArchives, const QString& secure = u"No"_s)
        : TestProgram({.rtr = u"yes"_s, .cr = u"7"_s, .secure = secure}, Start::Later)
    {
        Checks::writeBytes(mods(u"bf1942/init.con"_s), "the game's own bf1942");
        Checks::writeBytes(mods(u"xpack1/init.con"_s), "the game's own xpack1");
        if (realArchives) {
            Checks::writeBytes(mods(u"gtide_base/archives/menu.rfa"_s), "real crosshairs");
            Checks::writeBytes(mods(u"gtide_base/archives/bf1942/game.rfa"_s), "real reticles");
        }
    }
    QMap<QString, QByteArray> files() const { return Checks::filesIn(folder.game()); }
};

// A harmless program running under the game's name, which refuses every switch on the machine
// while it lives.
struct RunningGame : QProcess {
    explicit RunningGame(const TestFolder& folder)
    {
        QFile::copy(u"/bin/sleep"_s, folder.file(u"BF1942.exe"_s));
        start(folder.file(u"BF1942.exe"_s), {u"60"_s});
        waitForStarted();
    }
    ~RunningGame() override { end(); }
    QString name() const { return u"process %1 (BF1942.exe)"_s.arg(processId()); }
    void end() { kill(), waitForFinished(); }
};

ProgramRun restoreGame(const TestFolder& folder)
{
    return ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, {u"--restore-game"_s});
}

} // namespace

class TestGameFiles : public QObject {
    Q_OBJECT
private slots:
    void aPlaceholderNeverReplacesARealArchive_data()
    {
        QTest::addColumn<int>("way"); // 0 a pick, 1 Secure Mode ticked, 2 a start in Secure Mode
        QTest::addColumn<QStringList>("homes"); // where the real archives belong
        QTest::newRow("pick") << 0 << QStringList{u"cr/1"_s};
        QTest::newRow("Secure Mode") << 1 << QStringList{u"cr/12"_s, u"rt/2"_s};
        QTest::newRow("start in Secure Mode") << 2 << QStringList{u"cr/12"_s, u"rt/2"_s};
    }

    void aPlaceholderNeverReplacesARealArchive()
    {
        QFETCH(int, way);
        QFETCH(QStringList, homes);
        OwnGame s(true, way == 2 ? u"Yes"_s : u"No"_s);
        const auto before = s.files();
        s.start();
        if (way == 0)
            s.withChooserOpen([](QWidget& chooser) {
                TestProgram::pick(*chooser.findChild<ImageCombo*>(u"ImageCombo1"_s), 1);
            });
        else if (way == 1)
            s.inMain<QCheckBox>("Check4")->click();
        for (QString& home : homes)
            home = QDir::toNativeSeparators(s.folder.file(u"cons/"_s + home) + u'/');
        QCOMPARE(s.messages(),
                 QStringList{u"Only a placeholder archive: the game holds the real one.\nNothing "
                             "was written; put the Grimtide mod's real archives into "_s
                             + homes.join(u" and "_s) + u'.'});
        QCOMPARE(s.files(), before);
    }

    // A file the player changed since the program last wrote it is theirs and stays.
    void restoreGameGivesBackTheGamesOwnFilesTwice()
    {
        OwnGame s(false);
        s.start();
        s.inMain<QRadioButton>("Option2")->click();
        s.choose(4, 1);
        s.choose(5, 1); // the first choice's archive is not kept: the game had none
        Checks::writeBytes(s.mods(u"xpack1/init.con"_s), "the player's own xpack1");
        auto own = s.files();
        QVERIFY(s.messages().isEmpty() && own.contains(u"mods/gtide_base/archives/menu.rfa"_s));
        const ProgramRun restored = restoreGame(s.folder);
        QCOMPARE(restored.status, 0);
        QCOMPARE(restored.out,
                 u"The game's own files in %1/mods:\n"
                 "  bf1942/init.con: put back\n"
                 "  xpack1/init.con: left as it is: changed since this program last wrote it\n"
                 "  gtide_base/archives/menu.rfa: removed (the program had added it)\n"
                 "  gtide_base/archives/bf1942/game.rfa: removed (the program had added it)\n"
                 "gtdb.inf: the status is Pure and Secure Mode is off.\n"_s.arg(s.folder.game()));
        own[u"mods/bf1942/init.con"_s] = "the game's own bf1942";
        own.remove(u"mods/gtide_base/archives/menu.rfa"_s);
        own.remove(u"mods/gtide_base/archives/bf1942/game.rfa"_s);
        QCOMPARE(s.files(), own);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QCOMPARE(restoreGame(s.folder).out,
                 u"Nothing to restore: no game file has been replaced in the game "
                 "gtdb.inf names since its own were last put back.\n"_s);
        QCOMPARE(s.files(), own);
    }

    // Secure Mode goes with its archives: the next start installs nothing.
    void aRestoreAfterSecureModeLeavesTheGamesOwnArchives()
    {
        OwnGame s(true);
        Checks::writeBytes(s.folder.file(u"cons/cr/12/menu.rfa"_s), "secure crosshair");
        Checks::writeBytes(s.folder.file(u"cons/rt/2/game.rfa"_s), "secure reticle");
        const auto own = s.files();
        s.start();
        s.inMain<QCheckBox>("Check4")->click();
        QCOMPARE(Checks::bytesOf(s.mods(u"gtide_base/archives/menu.rfa"_s)), "secure crosshair");
        QCOMPARE(restoreGame(s.folder).status, 0);
        QCOMPARE(s.stored(&SettingsRecord::secure), u"No"_s);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        RecordingSink sink;
        FakeTray tray;
        RecordingCopier copier;
        Module1 next({sink, copier, tray, s.folder.databaseFile(), [] {}});
        QSignalSpy ended(&next.startup(), &Startup::ended);
        next.start();
        QVERIFY(ended.wait(10000));
        QVERIFY(next.startup().hasLoaded());
        QCOMPARE(copier.sources, QStringList());
        QCOMPARE(s.files(), own);
    }

    // An update a kill cut short waits, its journal whole, until a start after the game.
    void aRunningGameLeavesAnInterruptedUpdateForLater_data()
    {
        QTest::addColumn<int>("way"); // 0 a start, 1 a switch, 2 --restore-game
        QTest::newRow("a start") << 0;
        QTest::newRow("a switch") << 1;
        QTest::newRow("--restore-game") << 2;
    }

    void aRunningGameLeavesAnInterruptedUpdateForLater()
    {
        QFETCH(int, way);
        OwnGame s(false);
        // Killed half-way into Grimtide mode: the new file in place, the own one its backup.
        const QString initCon = s.mods(u"bf1942/init.con"_s);
        const QString backup = s.mods(u"bf1942/.grimtide-switch-x1.old"_s);
        QFile::rename(initCon, backup);
        Checks::writeBytes(initCon, "Grimtide's bf1942");
        const QString journal = s.folder.file(u"game-files.journal"_s);
        Checks::writeBytes(
            journal,
            Checks::journalOf(
                u"{\"deciding\":[{\"field\":\"status\",\"value\":\"Grimtide\"}],"
                "\"entries\":[{\"backup\":\"%1\",\"destination\":\"%2\","
                "\"earlier\":[],\"staged\":\"0:0\",\"temporary\":\"\"}]}"_s.arg(backup, initCon)
                    .toUtf8()));
        const auto files = s.files();
        const QByteArray written = Checks::bytesOf(journal);
        RunningGame game(s.folder);
        s.start();
        const QString told = u"Battlefield 1942 is running: please close it first.\n"_s
                             + Checks::sentence(4003, game.name());
        QStringList expected{told};
        if (way == 1) {
            s.inMain<QRadioButton>("Option2")->click();
            expected << told;
        } else if (way == 2) {
            const ProgramRun refused = restoreGame(s.folder);
            QCOMPARE(refused.status, 1);
            QCOMPARE(refused.err, u"grimtide-switch: Nothing was restored.\n"_s + told + u'\n');
        }
        QCOMPARE(s.messages(), expected);
        QCOMPARE(s.files(), files);
        QCOMPARE(Checks::bytesOf(journal), written);
        game.end();
        GameFiles afterTheGame(s.folder.path());
        Session(afterTheGame, s.folder.databaseFile()).load();
        QCOMPARE(Checks::bytesOf(initCon), "the game's own bf1942");
        QVERIFY(!QFile::exists(backup));
        QCOMPARE(Checks::bytesOf(journal), QByteArray());
    }

    // A switch while the game runs writes nothing; picks undone while it runs stay in place with
    // their journal until a start after it.
    void nothingIsWrittenWhileTheGameRuns()
    {
        OwnGame s(true);
        Checks::writeBytes(s.folder.file(u"cons/cr/4/menu.rfa"_s), "real crosshair 4");
        const QString archive = s.mods(u"gtide_base/archives/menu.rfa"_s);
        const QString journal = s.folder.file(u"game-files.journal"_s);
        const auto own = s.files();
        {
            StartedSession program;
            RunningGame game(s.folder);
            QCOMPARE(Checks::failureOf([&] { program.session.switchTo(GameMode::Grimtide); }),
                     4001);
            QCOMPARE(s.files(), own);
        }
        {
            StartedSession program;
            program.session.pick(Catalogue::Kind::Crosshair, 4);
            RunningGame game(s.folder);
            program.session.dropPicks();
            QCOMPARE(Checks::bytesOf(archive), "real crosshair 4");
            QVERIFY(!Checks::bytesOf(journal).isEmpty());
        }
        StartedSession next;
        QCOMPARE(Checks::bytesOf(archive), "real crosshairs");
        QCOMPARE(Checks::bytesOf(journal), QByteArray());
    }
};

QTEST_MAIN(TestGameFiles)
#include "test_gamefiles.moc"
