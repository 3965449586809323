#include "core/platform/InstanceLock.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QProcess>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A game with files of its own: the base game's and Road to Rome's init.con
// and, where asked, the mod's real archives.
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

} // namespace

class TestGameFiles : public QObject {
    Q_OBJECT
private slots:
    void aRefusedSwitchWritesNothing_data()
    {
        QTest::addColumn<bool>("gameRuns"); // or else the mod is missing
        QTest::newRow("Grimtide without the mod") << false;
        QTest::newRow("Battlefield 1942 running") << true;
    }

    void aRefusedSwitchWritesNothing()
    {
        QFETCH(bool, gameRuns);
        OwnGame s(false);
        const QString mod = s.mods(u"gtide_base"_s);
        QProcess game; // a harmless program under the game's name
        if (gameRuns) {
            const QString named = s.folder.file(u"BF1942.exe"_s);
            QVERIFY(QFile::copy(u"/bin/sleep"_s, named));
            game.start(named, {u"60"_s});
            QVERIFY(game.waitForStarted());
        } else {
            QDir(mod).removeRecursively();
        }
        s.start();
        const auto before = s.files();
        s.inMain<QRadioButton>("Option2")->click();
        const qint64 pid = game.processId();
        game.kill();
        game.waitForFinished();
        const QString expected =
            gameRuns ? u"Battlefield 1942 is running: please close it first.\nNothing was written "
                       "to the game; it runs as process %1 (BF1942.exe)."_s.arg(pid)
                     : u"Please check your options\nThe folder %1 does not exist: install the "
                       "Grimtide mod first."_s.arg(mod);
        QCOMPARE(s.messages(), QStringList{expected});
        QCOMPARE(s.files(), before);
    }

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

    void restoreGameGivesBackTheGamesOwnFilesTwice()
    {
        OwnGame s(false);
        const auto own = s.files();
        s.start();
        s.inMain<QRadioButton>("Option2")->click();
        s.choose(4, 1);
        s.choose(5, 1); // the first choice's archive is not kept: the game had none
        QVERIFY(s.messages().isEmpty() && s.files() != own);
        const auto switched = s.files();
        QString out, err;
        const auto restoreGame = [&] {
            QProcess run;
            run.setWorkingDirectory(s.folder.path());
            run.start(u"" GRIMTIDE_SWITCH_PROGRAM ""_s, {u"--restore-game"_s});
            const bool finished = run.waitForFinished(30000);
            out = QString::fromLocal8Bit(run.readAllStandardOutput());
            err = QString::fromLocal8Bit(run.readAllStandardError());
            return finished ? run.exitCode() : -1;
        };
        {
            InstanceLock running;
            QCOMPARE(running.take(s.folder.file(u"gtdb.inf.lock"_s)), InstanceLock::Outcome::Held);
            QVERIFY2(restoreGame() == 2 && out.isEmpty() && err.count(u'\n') == 1, qPrintable(err));
            QCOMPARE(s.files(), switched);
        }
        QCOMPARE(restoreGame(), 0);
        for (const char* line : {"  bf1942/init.con: put back", "  xpack1/init.con: put back",
                                 "  gtide_base/archives/menu.rfa: removed (the game had none)"})
            QVERIFY2(out.contains(QLatin1String(line)), qPrintable(out));
        QCOMPARE(s.files(), own);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QVERIFY(restoreGame() == 0 && out.startsWith(u"Nothing to restore"_s));
        QCOMPARE(s.files(), own);
    }
};

QTEST_MAIN(TestGameFiles)
#include "test_gamefiles.moc"
