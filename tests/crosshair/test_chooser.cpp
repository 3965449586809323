#include "gui/crosshair/PictureCatalogue.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>

using namespace Qt::StringLiterals;

namespace {

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

class TestChooser : public QObject {
    Q_OBJECT
private slots:
    // A pick puts its archive in at once; a refused one leaves its list at
    // what the game holds; OK without both lists chosen is refused.
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

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
