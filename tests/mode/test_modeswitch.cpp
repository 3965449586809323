#include "core/mode/ModeFiles.h"
#include "support/Checks.h"
#include "support/StartedSession.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

const QStringList pureFiles{u"purebf"_s, u"purex1"_s, u"purex2"_s};
const QStringList grimtideFiles{u"unbf"_s, u"unx1"_s, u"unx2"_s};

// A retail init.con as a patched game has it: CRLF line ends, its version.
const QByteArray retailBaseGame = "game.setCustomGameName bf1942\r\n"
                                  "game.addModPath Mods/bf1942/\r\n"
                                  "game.setCustomGameVersion 1.61\r\n"
                                  "Game.setMenuMusicFilename \"music/slaughter4.bik\"\r\n";

// The game's own file of a pack, an expansion's like the base game's.
QByteArray ownFile(qsizetype pack)
{
    return pack == 0 ? retailBaseGame
                     : QByteArray(retailBaseGame)
                           .replace("bf1942", pack == 1 ? "xpack1" : "xpack2")
                           .replace("1.61", "1.1");
}

// The mode label, the radio button checked and the menu item shown.
QString window(TestProgram& s)
{
    QStringList shown{s.inMain<QLabel>("Label4")->text()};
    for (const char* name : {"Option1", "Option2"})
        if (s.inMain<QRadioButton>(name)->isChecked())
            shown << QLatin1String(name);
    for (const char* name : {"mpoppure", "mpopunpure"})
        if (s.inMain<QAction>(name)->isVisible())
            shown << QLatin1String(name);
    return shown.join(u' ');
}

} // namespace

class TestModeSwitch : public QObject {
    Q_OBJECT
private slots:
    void onlyThePacksMarkedYesTakePart()
    {
        QStringList copied;
        for (const auto& [rtr, sw] : {std::pair{"no", "no"}, {"yes", "no"}, {"Yes", "yes"}}) {
            QStringList files;
            for (const GameFileCopy& copy : modeCopies(GameMode::Pure, QString::fromUtf8(rtr),
                                                       QString::fromUtf8(sw), u"/g/mods/"_s))
                files << copy.file;
            copied << files.join(u' ');
        }
        QCOMPARE(copied, (QStringList{u"bf1942/init.con"_s, u"bf1942/init.con xpack1/init.con"_s,
                                      u"bf1942/init.con xpack2/init.con"_s}));
    }

    void aSwitchCopiesTheModeFilesAndTheWindowFollows_data()
    {
        QTest::addColumn<QString>("sw");
        QTest::addColumn<QStringList>("grimtide");
        QTest::newRow("RTR") << u"no"_s << QStringList{u"unbf"_s, u"unx1"_s, {}};
        QTest::newRow("RTR and SW") << u"yes"_s << grimtideFiles;
    }

    void aSwitchCopiesTheModeFilesAndTheWindowFollows()
    {
        QFETCH(QString, sw);
        QFETCH(QStringList, grimtide);
        TestProgram s({.rtr = u"yes"_s, .sw = sw});
        QTest::mouseClick(s.inMain<QLabel>("Label6"), Qt::LeftButton); // clicks Option2
        QCOMPARE(Checks::installedModes(s.folder.game()), grimtide);
        QCOMPARE(window(s), u"Grimtide Option2 mpoppure"_s);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Grimtide"_s);
        s.inMain<QAction>("mpoppure")->trigger();
        QCOMPARE(Checks::installedModes(s.folder.game()),
                 QStringList(grimtide).replaceInStrings(u"un"_s, u"pure"_s));
        QCOMPARE(window(s), u"Pure Option1 mpopunpure"_s);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QCOMPARE(s.messages(), QStringList());
    }

    // Already there: nothing copied, the record saved as shown ("yes"). A pack's box saves at
    // once, a refused save changes nothing.
    void aSwitchToTheModeTheGameIsInOnlySaves()
    {
        TestProgram s({.status = u"Grimtide"_s, .rtr = u"Yes"_s});
        s.inMain<QAction>("mpopunpure")->trigger();
        s.inMain<QRadioButton>("Option2")->click(); // on already: does nothing
        QCOMPARE(s.copier.sources, QStringList());
        QCOMPARE(s.messages(), QStringList());
        QCOMPARE(s.stored(&SettingsRecord::rtr), u"yes"_s);
        s.inMain<QCheckBox>("Check2")->click();
        QCOMPARE(s.stored(&SettingsRecord::sw), u"yes"_s);
        {
            const Checks::SettingsLock otherProgram(s.folder.databaseFile());
            s.module.session().setLockWait(10);
            s.inMain<QCheckBox>("Check2")->click();
        }
        QCOMPARE(s.messages(),
                 QStringList{u"We have a problem, Please report this error = check23218 to: "
                             "" GRIMTIDE_CONTACT "\n"_s
                             + s.folder.databaseFile() + u" is locked by another program."_s});
        QCOMPARE(s.settings().sw + s.inMain<QLabel>("Label8")->text(), u"yesyes"_s);
        QVERIFY(s.inMain<QCheckBox>("Check2")->isChecked());
        QCOMPARE(s.stored(&SettingsRecord::sw), u"yes"_s);
    }

    void aFailedSwitchKeepsTheOldModeAndCanBeTriedAgain()
    {
        TestProgram s({.rtr = u"yes"_s, .sw = u"yes"_s});
        Checks::writeBytes(s.mods(u"bf1942/init.con"_s), retailBaseGame);
        const QString xpack2 = s.mods(u"xpack2"_s);
        QDir(xpack2).removeRecursively();
        s.inMain<QRadioButton>("Option2")->click(); // checked before anything is written
        QCOMPARE(
            s.messages(),
            QStringList{u"Please check your options\nThe folder "_s + xpack2
                        + u" does not exist: untick SW if Secret Weapons is not installed."_s});
        QCOMPARE(Checks::bytesOf(s.mods(u"bf1942/init.con"_s)), retailBaseGame);
        QCOMPARE(window(s), u"Pure Option1 mpopunpure"_s);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);

        QVERIFY(QDir().mkpath(xpack2));
        s.inMain<QAction>("mpopunpure")->trigger();
        QCOMPARE(Checks::installedModes(s.folder.game()), grimtideFiles);
        QFile::remove(s.folder.file(u"cons/purebf.con"_s));
        s.inMain<QRadioButton>("Option1")->click();
        QCOMPARE(s.messages().last(),
                 u"We have a problem, Please report this error = msetp53 to: " GRIMTIDE_CONTACT
                 "\nThe file "_s
                     + s.folder.file(u"cons/purebf.con"_s) + u" is missing."_s);
        QCOMPARE(Checks::installedModes(s.folder.game()), grimtideFiles);
        QCOMPARE(window(s), u"Grimtide Option2 mpoppure"_s);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Grimtide"_s);
    }

    // Pure gives back the game's own files; a delivered pure file goes only where it had none.
    void pureGivesBackTheGamesOwnInitCon_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("held"); // per pack: "own", none, or the cons file in it
        QTest::addColumn<QStringList>("pure"); // per pack after the switch to Pure
        QTest::newRow("its own files") << u"Pure"_s << QStringList{u"own"_s, u"own"_s, u"own"_s}
                                       << QStringList{u"own"_s, u"own"_s, u"own"_s};
        QTest::newRow("no files of its own") << u"Pure"_s << QStringList(3, QString()) << pureFiles;
        QTest::newRow("left in Grimtide mode by an earlier install")
            << u"Grimtide"_s << grimtideFiles << pureFiles;
        QTest::newRow("its own base game, Road to Rome left in Grimtide mode")
            << u"Grimtide"_s << QStringList{u"own"_s, u"unx1"_s, {}}
            << QStringList{u"own"_s, u"purex1"_s, u"purex2"_s};
    }

    void pureGivesBackTheGamesOwnInitCon()
    {
        QFETCH(QString, status);
        QFETCH(QStringList, held);
        QFETCH(QStringList, pure);
        TestFolder folder;
        folder.writeSettings({.status = status,
                              .rtr = u"yes"_s,
                              .sw = u"yes"_s,
                              .path = QDir::toNativeSeparators(folder.game())});
        const auto initCon = [&](qsizetype pack) {
            return folder.game() + u"/mods/"_s
                   + QStringList{u"bf1942"_s, u"xpack1"_s, u"xpack2"_s}[pack] + u"/init.con"_s;
        };
        const auto bytesFor = [&](const QString& name, qsizetype pack) {
            return name == u"own"_s ? ownFile(pack)
                                    : Checks::bytesOf(folder.file(u"cons/%1.con"_s.arg(name)));
        };
        for (qsizetype pack = 0; pack < 3; ++pack)
            if (!held[pack].isEmpty())
                Checks::writeBytes(initCon(pack), bytesFor(held[pack], pack));
        StartedSession program;
        if (status == u"Pure"_s) {
            program.session.switchTo(GameMode::Grimtide);
            QCOMPARE(Checks::installedModes(folder.game()), grimtideFiles);
        }
        program.session.switchTo(GameMode::Pure);
        for (qsizetype pack = 0; pack < 3; ++pack)
            QCOMPARE(Checks::bytesOf(initCon(pack)), bytesFor(pure[pack], pack));
    }

    // Each delivered file whole: CRLF, only the lines a retail init.con carries.
    void eachFileSpeaksTheGamesOwnDialect_data()
    {
        QTest::addColumn<QList<QByteArray>>("head"); // of the pure file
        QTest::addColumn<QString>("grimtide");
        const QByteArray base = "game.addModPath Mods/BF1942/",
                         v16 = "game.setCustomGameVersion 1.6";
        QTest::newRow("purebf") << QList<QByteArray>{"game.setCustomGameName BF1942",
                                                     "game.addModPath Mods/bf1942/", "",
                                                     "game.setCustomGameVersion 1.61"}
                                << u"unbf"_s;
        QTest::newRow("purex1") << QList<QByteArray>{"game.setCustomGameName XPack1",
                                                     "game.addModPath Mods/XPack1/", base, "", v16}
                                << u"unx1"_s;
        QTest::newRow("purex2") << QList<QByteArray>{"game.setCustomGameName XPack2",
                                                     "game.addModPath Mods/XPack2/", base, "", v16}
                                << u"unx2"_s;
    }

    // The Grimtide file is the pure file with the mod's path in front.
    void eachFileSpeaksTheGamesOwnDialect()
    {
        QFETCH(QList<QByteArray>, head);
        QFETCH(QString, grimtide);
        const QList<QByteArray> tail{"game.setCustomGameUrl \"http://www.battlefield1942.com\"",
                                     "",
                                     "Game.setMenuMusicFilename \"music/slaughter4.bik\"",
                                     "Game.setLoadMusicFilename \"music/vehicle4.bik\"",
                                     "Game.setWinMusicFilename \"music/vehicle3.bik\"",
                                     "Game.setLoseMusicFilename \"music/menu.bik\"",
                                     "Game.setCampaignLoseMusicFilename \"music/theme2.bik\"",
                                     "Game.setDebriefingMusicFilename \"music/briefing.bik\""};
        const auto delivered = [](const QString& name) {
            return Checks::bytesOf(u"" GRIMTIDE_CONS_DIR "/"_s + name + u".con"_s);
        };
        QCOMPARE(delivered(QLatin1String(QTest::currentDataTag())),
                 (head + tail).join("\r\n") + "\r\n");
        head.insert(1, "game.addModPath Mods/gtide_base/");
        QCOMPARE(delivered(grimtide), (head + tail).join("\r\n") + "\r\n");
    }
};

QTEST_MAIN(TestModeSwitch)
#include "test_modeswitch.moc"
