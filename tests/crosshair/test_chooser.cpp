#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString crosshairTarget = u"game/mods/gtide_base/archives/menu.rfa"_s;
const QString reticleTarget = u"game/mods/gtide_base/archives/bf1942/game.rfa"_s;

// The program on crosshair 7 and reticle 3.
struct Started : TestProgram {
    explicit Started(const QString& secure = u"No"_s)
        : TestProgram({.cr = u"7"_s, .rt = u"3"_s, .secure = secure})
    {
    }
    QByteArray game(const QString& f) const { return Checks::bytesOf(folder.file(f)); }
    QByteArray cons(const QString& f) const { return game(u"cons/"_s + f); }
    // The secure display: pinned pictures 12 and 2 and the green lamp in place
    // of the lists, OK and the red lamp; or the normal one.
    void chooserShows(bool secure)
    {
        Form3& c = chooser();
        for (QWidget* control : std::initializer_list<QWidget*>{
                 c.ImageCombo1, c.ImageCombo2, c.Command1, c.Image4, c.Image1, c.Image2})
            QCOMPARE(control->isVisibleTo(&c),
                     secure == (control == c.Image1 || control == c.Image2));
        QVERIFY(!secure
                || (c.Image3->isVisibleTo(&c)
                    && c.Image1->pixmap().toImage() == c.ImageList1.picture(12)));
    }
    std::pair<QImage, QImage> pictures()
    {
        return {main().Picture1->pixmap().toImage(), main().Picture2->pixmap().toImage()};
    }
};

} // namespace

class TestChooser : public QObject {
    Q_OBJECT
private slots:
    void picksInstallAtOnceOkSavesCancelKeepsThemTheCloseBoxForgets()
    {
        Started s;
        const auto before = s.pictures();
        QFile::remove(s.folder.file(u"cons/rt/1/game.rfa"_s));
        s.withChooserOpen([&] {
            TestProgram::pick(*s.chooser().ImageCombo1, 4);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
                QTest::keyClick(s.chooser().Command1, key);
            QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/4/menu.rfa"_s));
            s.module.state.settings.cr = u"1"_s;
            s.chooser().Command1->click(); // the reticle is not chosen yet
            QVERIFY(s.chooser().isVisible());
            QCOMPARE(s.module.state.settings.cr, u"4"_s);
            TestProgram::pick(*s.chooser().ImageCombo2, 1); // its archive is missing
            QCOMPARE(s.module.state.settings.rt, u"1"_s);
            s.chooser().Command2->click();
        });
        QCOMPARE(s.messages(),
                 (QStringList{
                     Checks::message(u"Please choose crosshairs."_s, FailureNumber::NoItemChosen),
                     Checks::report(u"imgcmb2"_s, FailureNumber::FileNotFound,
                                    s.folder.file(u"cons/rt/1/game.rfa"_s))}));
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/4/menu.rfa"_s));
        QCOMPARE(s.pictures(), before);
        QCOMPARE(s.stored(&SettingsRecord::cr), u"7"_s); // picks save nothing
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 4);
            TestProgram::pick(*s.chooser().ImageCombo2, 2);
            QCOMPARE(s.game(reticleTarget), s.cons(u"rt/2/game.rfa"_s));
            s.chooser().Command1->click();
        });
        QVERIFY(!s.chooser().isVisible());
        QCOMPARE(s.stored(&SettingsRecord::cr), u"4"_s);
        QCOMPARE(s.stored(&SettingsRecord::rt), u"2"_s);
        QCOMPARE(s.pictures().first, s.chooser().ImageList1.picture(4)); // at its own size
        s.withChooserOpen([&] {
            TestProgram::pick(*s.chooser().ImageCombo1, 5);
            s.chooser().close();
        });
        QVERIFY(!s.module.form3Holder().exists());
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/5/menu.rfa"_s));
        s.withChooserOpen([&] { QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 0); });
    }

    // A screen reader's names: each item's number as its picture shows it; the lamps apart.
    void everyItemAndEachLampHasItsName()
    {
        Started s;
        const auto name = [](QObject* control, int item = -1) {
            QAccessibleInterface* named = QAccessible::queryAccessibleInterface(control);
            return (item < 0 ? named : named->child(item))->text(QAccessible::Name);
        };
        const Form3& c = s.chooser();
        QCOMPARE((QStringList{name(c.ImageCombo1->view(), 0), name(c.ImageCombo1->view(), 6),
                              name(c.ImageCombo2->view(), 1), name(c.Image3), name(c.Image4)}),
                 (QStringList{u"Crosshair 1, default"_s, u"Crosshair 7"_s, u"Reticle 2"_s,
                              u"Secure Mode on"_s, u"Secure Mode off"_s}));
    }

    void picturesFollowTheSettings()
    {
        Started s;
        const auto shown = [&](const char* secure, const char* cr, const char* rt) {
            s.module.state.settings.secure = QString::fromLatin1(secure);
            s.module.state.settings.cr = QString::fromLatin1(cr);
            s.module.state.settings.rt = QString::fromLatin1(rt);
            s.module.mimgset();
            return s.pictures();
        };
        const auto pinned = shown("Yes", "", ""); // secure: cr and rt are not read
        const auto fiveThree = shown("No", "5", "3");
        QVERIFY(fiveThree.first != pinned.first && fiveThree.second != pinned.second);
        QCOMPARE(shown("No", "21", "0"), fiveThree); // not a choice: unchanged
        QCOMPARE(shown("No", "2.5", "3"), fiveThree);
        QVERIFY(s.messages().isEmpty());
        QCOMPARE(shown("No", "12", "x").first, pinned.first); // the crosshair before the failure
        QCOMPARE(s.messages(),
                 QStringList{Checks::report(u"mimgset"_s, FailureNumber::TypeMismatch)});
    }

    void secureModeOnAndOff()
    {
        Started s;
        const auto own = s.pictures();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/12/menu.rfa"_s));
        QCOMPARE(s.game(reticleTarget), s.cons(u"rt/2/game.rfa"_s));
        QCOMPARE(s.stored(&SettingsRecord::secure), u"Yes"_s);
        QVERIFY(s.pictures().first != own.first);
        QVERIFY(!s.module.form3Holder().exists()); // made when first opened, as Secure Mode left it
        s.chooserShows(true);

        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/7/menu.rfa"_s));
        QCOMPARE(s.game(reticleTarget), s.cons(u"rt/3/game.rfa"_s));
        QCOMPARE(s.pictures(), own);
        s.chooserShows(false);
        QCOMPARE(s.stored(&SettingsRecord::secure), u"No"_s);
        // Without the reticle's folder, secure mode writes nothing and stays off.
        const QString reticles = s.folder.game() + u"/mods/gtide_base/archives/bf1942"_s;
        QDir(reticles).removeRecursively();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(u"cr/7/menu.rfa"_s));
        QCOMPARE(s.messages(),
                 QStringList{
                     Checks::report(u"check4"_s, FailureNumber::PathNotFound, reticles).chopped(1)
                     + u": install the Grimtide mod first."_s});
        QVERIFY(s.chooser().ImageCombo1->isVisibleTo(&s.chooser())
                && !s.main().Check4->isChecked());
        QCOMPARE(s.module.state.settings.secure, u"No"_s);
        QCOMPARE(s.stored(&SettingsRecord::secure), u"No"_s);
    }

    void onlyCatalogueNumbersFormArchivePaths_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::newRow("climbing out") << u"../../x"_s;
        QTest::newRow("leading zero") << u"07"_s;
        QTest::newRow("out of range") << u"21"_s;
    }

    void onlyCatalogueNumbersFormArchivePaths()
    {
        QFETCH(QString, cr);
        Started s(u"Yes"_s);
        s.module.state.settings.cr = cr;
        s.copier.sources.clear();
        s.main().Check4->click();
        QCOMPARE(s.messages(),
                 QStringList{Checks::report(u"check4"_s, FailureNumber::FileNotFound,
                                            s.folder.file(u"cons/cr/%1/menu.rfa"_s.arg(cr)))});
        QVERIFY(s.copier.sources.isEmpty());
    }
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
