#include "core/mode/ModeFiles.h"
#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/StartedSession.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAccessible>
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

const QString crosshairTarget = u"game/mods/gtide_base/archives/menu.rfa"_s;
const QString reticleTarget = u"game/mods/gtide_base/archives/bf1942/game.rfa"_s;

template <typename Control> Control* in(QWidget& window, const char* name)
{
    return window.findChild<Control*>(QLatin1String(name));
}

QImage shown(QLabel* image)
{
    return image->pixmap().toImage();
}

struct Started : TestProgram {
    Started() : TestProgram({.cr = u"7"_s, .rt = u"3"_s, .secure = u"No"_s}) {}
    QByteArray game(const QString& f) const { return Checks::bytesOf(folder.file(f)); }
    QByteArray cons(const QString& f) const { return game(u"cons/"_s + f); }
    QImage crosshairShown() { return shown(inMain<QLabel>("Picture1")); }
    QImage reticleShown() { return shown(inMain<QLabel>("Picture2")); }
};

// The chooser's controls shown, and the lamp seen (red Image4 lies above green Image3).
QString appearance(QWidget& chooser)
{
    QStringList visible;
    for (const char* name :
         {"ImageCombo1", "ImageCombo2", "Command1", "Command2", "Image1", "Image2"})
        if (in<QWidget>(chooser, name)->isVisibleTo(&chooser))
            visible << QLatin1String(name);
    const bool red = in<QWidget>(chooser, "Image4")->isVisibleTo(&chooser);
    const bool green = in<QWidget>(chooser, "Image3")->isVisibleTo(&chooser);
    visible << (red ? u"red lamp"_s : green ? u"green lamp"_s : u"no lamp"_s);
    return visible.join(u' ');
}

const QString normalAppearance = u"ImageCombo1 ImageCombo2 Command1 Command2 red lamp"_s;
const QString secureAppearance = u"Command2 Image1 Image2 green lamp"_s;

// Both lists' chosen positions, "crosshair reticle".
QString picks(QWidget& chooser)
{
    return u"%1 %2"_s.arg(in<ImageCombo>(chooser, "ImageCombo1")->selectedPosition())
        .arg(in<ImageCombo>(chooser, "ImageCombo2")->selectedPosition());
}

// A screen reader's name of the control, or of its list's item (-1: the control itself).
QString spoken(QWidget& chooser, const char* control, int item = -1)
{
    QWidget* named = in<QWidget>(chooser, control);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(
        item < 0 ? named : qobject_cast<ImageCombo*>(named)->view());
    return (item < 0 ? accessible : accessible->child(item))->text(QAccessible::Name);
}

} // namespace

// The main window's choices: the mode, the packs, the crosshair and reticle, Secure Mode.
class TestChoices : public QObject {
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

    // Already there: nothing copied, the row saved as shown; a pack's box saves at once, or
    // nothing.
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

    // A pick installs at once, a refused one leaves its list at the game's; OK needs both lists.
    void picksInstallAtOnceAndCancelPutsBackWhatTheGameHeld()
    {
        Started s;
        Checks::writeBytes(s.folder.file(crosshairTarget), "the mod's own crosshairs");
        for (const char* choice : {"4", "6"}) // real archives: no placeholder replaces one
            Checks::writeBytes(s.folder.file(u"cons/cr/%1/menu.rfa"_s.arg(QLatin1String(choice))),
                               "real crosshair " + QByteArray(choice));
        const QImage crosshairBefore = s.crosshairShown();
        QFile::remove(s.folder.file(u"cons/rt/1/game.rfa"_s));
        s.withChooserOpen([&](QWidget& chooser) {
            QCOMPARE(appearance(chooser), normalAppearance);
            QVERIFY(shown(in<QLabel>(chooser, "Image4")).pixelColor(8, 9).red() > 150);
            QCOMPARE(
                (QStringList{spoken(chooser, "ImageCombo1", 0), spoken(chooser, "ImageCombo2", 1),
                             spoken(chooser, "Image3"), spoken(chooser, "Image4")}),
                (QStringList{u"Crosshair 1, default"_s, u"Reticle 2"_s, u"Secure Mode on"_s,
                             u"Secure Mode off"_s}));
            TestProgram::pick(*in<ImageCombo>(chooser, "ImageCombo1"), 4);
            QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/4/menu.rfa"_s));
            TestProgram::pick(*in<ImageCombo>(chooser, "ImageCombo1"), 6); // picked again
            QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/6/menu.rfa"_s));
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
                QTest::keyClick(in<QPushButton>(chooser, "Command1"), key);
            QVERIFY(chooser.isVisible());
            in<QPushButton>(chooser, "Command1")->click(); // the reticle is not chosen yet
            QVERIFY(chooser.isVisible());
            TestProgram::pick(*in<ImageCombo>(chooser, "ImageCombo2"), 1); // its archive is missing
            QCOMPARE(picks(chooser), u"6 0"_s);
            in<QPushButton>(chooser, "Command2")->click();
        });
        QCOMPARE(s.messages(),
                 (QStringList{u"Please choose crosshairs.\nA crosshair and a reticle must both be "
                              "chosen in the lists."_s,
                              u"We have a problem, Please report this error = imgcmb253 to: "
                              "" GRIMTIDE_CONTACT "\nThe file "_s
                                  + s.folder.file(u"cons/rt/1/game.rfa"_s) + u" is missing."_s}));
        QCOMPARE(s.game(crosshairTarget), QByteArray("the mod's own crosshairs"));
        QCOMPARE(s.settings().cr, u"7"_s);
        QCOMPARE(s.stored(&SettingsRecord::cr), u"7"_s);
        QCOMPARE(s.crosshairShown(), crosshairBefore);
        s.withChooserOpen([](QWidget& chooser) { QCOMPARE(picks(chooser), u"0 0"_s); });
    }

    // The lists keep OK's choices, also after a refused OK; the close box forgets a pick.
    void okKeepsThePicksARefusedOkAndTheCloseBoxPutBack()
    {
        Started s;
        s.choose(4, 2);
        QCOMPARE(s.stored(&SettingsRecord::cr) + s.stored(&SettingsRecord::rt), u"42"_s);
        QCOMPARE(s.crosshairShown(), PictureCatalogue::crosshairPictures().picture(4));
        QCOMPARE(s.reticleShown(), PictureCatalogue::reticlePictures().picture(2));
        QVERIFY(!TestProgram::window("Form3")->isVisible());
        {
            const Checks::SettingsLock otherProgram(s.folder.databaseFile());
            s.module.session().setLockWait(10);
            s.choose(5, 3);
        }
        QCOMPARE(s.messages(),
                 QStringList{u"We have a problem, Please report this error = 3command13218 to: "
                             "" GRIMTIDE_CONTACT "\n"_s
                             + s.folder.databaseFile() + u" is locked by another program."_s});
        QCOMPARE(s.game(reticleTarget), s.cons(u"rt/2/game.rfa"_s));
        QCOMPARE(s.settings().cr, u"4"_s);
        s.withChooserOpen([&](QWidget& chooser) {
            QCOMPARE(picks(chooser), u"4 2"_s);
            TestProgram::pick(*in<ImageCombo>(chooser, "ImageCombo1"), 5);
            chooser.close();
        });
        QVERIFY(!TestProgram::window("Form3"));
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/4/menu.rfa"_s));
        QCOMPARE(s.stored(&SettingsRecord::cr), u"4"_s);
        s.withChooserOpen([](QWidget& chooser) { QCOMPARE(picks(chooser), u"0 0"_s); });
    }

    void picturesFollowTheStoredChoices_data()
    {
        QTest::addColumn<QString>("secure");
        QTest::addColumn<QString>("cr");
        QTest::addColumn<QString>("rt");
        QTest::addColumn<int>("crosshair"); // 0: none shown
        QTest::addColumn<int>("reticle");
        QTest::addColumn<QString>("message");
        QTest::newRow("own choices") << u"No"_s << u"5"_s << u"3"_s << 5 << 3 << QString();
        QTest::newRow("any but No is secure")
            << u"no"_s << u"x"_s << u"x"_s << 12 << 2 << QString();
        QTest::newRow("not a choice") << u"No"_s << u"21"_s << u"2.5"_s << 0 << 0 << QString();
        QTest::newRow("not a number, after the crosshair")
            << u"No"_s << u"12"_s << u"x"_s << 12 << 0
            << u"We have a problem, Please report this error = mimgset13 to: " GRIMTIDE_CONTACT
               "\nA crosshair or reticle setting in gtdb.inf holds a text where a number belongs."_s;
    }

    void picturesFollowTheStoredChoices()
    {
        QFETCH(QString, secure);
        QFETCH(QString, cr);
        QFETCH(QString, rt);
        QFETCH(int, crosshair);
        QFETCH(int, reticle);
        QFETCH(QString, message);
        TestProgram s({.cr = cr, .rt = rt, .secure = secure});
        QCOMPARE(shown(s.inMain<QLabel>("Picture1")),
                 crosshair ? PictureCatalogue::crosshairPictures().picture(crosshair) : QImage());
        QCOMPARE(shown(s.inMain<QLabel>("Picture2")),
                 reticle ? PictureCatalogue::reticlePictures().picture(reticle) : QImage());
        QCOMPARE(s.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    }

    // Refused without the reticle's folder, it writes nothing; off again, the choices come back.
    void secureModeRefusedThenOnAndOff()
    {
        Started s;
        const QImage own = s.crosshairShown();
        const QString reticles = s.folder.game() + u"/mods/gtide_base/archives/bf1942"_s;
        QVERIFY(QDir(reticles).removeRecursively());
        s.inMain<QCheckBox>("Check4")->click();
        QCOMPARE(s.messages(),
                 QStringList{u"We have a problem, Please report this error = check476 to: "
                             "" GRIMTIDE_CONTACT "\nThe folder "_s
                             + reticles + u" does not exist: install the Grimtide mod first."_s});
        QVERIFY(s.game(crosshairTarget).isEmpty()); // the crosshair was not put in either
        QVERIFY(!s.inMain<QCheckBox>("Check4")->isChecked());
        QCOMPARE(s.settings().secure + s.stored(&SettingsRecord::secure), u"NoNo"_s);

        QVERIFY(QDir().mkpath(reticles));
        s.inMain<QCheckBox>("Check4")->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/12/menu.rfa"_s));
        QCOMPARE(s.game(reticleTarget), s.cons(u"rt/2/game.rfa"_s));
        QCOMPARE(s.stored(&SettingsRecord::secure), u"Yes"_s);
        QCOMPARE(s.crosshairShown(), PictureCatalogue::crosshairPictures().picture(12));
        s.withChooserOpen([](QWidget& chooser) {
            QCOMPARE(appearance(chooser), secureAppearance);
            QVERIFY(shown(in<QLabel>(chooser, "Image3")).pixelColor(8, 9).green() > 150);
            QCOMPARE(shown(in<QLabel>(chooser, "Image1")),
                     PictureCatalogue::crosshairPictures().picture(12));
        });
        s.inMain<QCheckBox>("Check4")->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/7/menu.rfa"_s));
        QCOMPARE(s.game(reticleTarget), s.cons(u"rt/3/game.rfa"_s));
        QCOMPARE(s.crosshairShown(), own);
        QCOMPARE(s.stored(&SettingsRecord::secure), u"No"_s);
        s.withChooserOpen(
            [](QWidget& chooser) { QCOMPARE(appearance(chooser), normalAppearance); });
    }

    // Read a size at a time, the program's icon offers its files' sizes, for the normal mode only.
    void theProgramIconOffersItsFilesSizes()
    {
        const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
        QCOMPARE(PictureCatalogue::programIcon().availableSizes(), sizes);
        QCOMPARE(PictureCatalogue::programIcon().availableSizes(QIcon::Disabled), QList<QSize>());
    }

    void anItemBeforeItsPictureListHasNoPicture()
    {
        ImageCombo combo;
        combo.addItem(1, u"1"_s, u"one"_s, u"cr1"_s);
        QVERIFY(combo.itemIcon(0).isNull());
    }

    void onlyCatalogueNumbersFormArchivePaths()
    {
        for (const QString& cr : {u"../../x"_s, u"07"_s, u"21"_s}) {
            TestProgram s({.cr = cr, .secure = u"Yes"_s});
            s.copier.sources.clear();
            s.inMain<QCheckBox>("Check4")->click();
            QCOMPARE(s.messages(),
                     QStringList{u"We have a problem, Please report this error = check453 to: "
                                 "" GRIMTIDE_CONTACT "\nThe file "_s
                                 + s.folder.file(u"cons/cr/%1/menu.rfa"_s.arg(cr))
                                 + u" is missing."_s});
            QCOMPARE(s.copier.sources, QStringList());
        }
    }
};

QTEST_MAIN(TestChoices)
#include "test_choices.moc"
