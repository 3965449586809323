#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QTest>

namespace {

const QString crosshairTarget = QStringLiteral("game/mods/gtide_base/archives/menu.rfa");
const QString reticleTarget = QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa");

// The program on crosshair 7 and reticle 3.
struct Started : TestProgram {
    explicit Started(const QString& secure = QStringLiteral("No"))
        : TestProgram({.cr = QStringLiteral("7"), .rt = QStringLiteral("3"), .secure = secure})
    {
    }
    QString game(const QString& f) const { return folder.readFile(f); }
    QString cons(const QString& f) const { return folder.readFile(QStringLiteral("cons/") + f); }
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
        QFile::remove(s.folder.file(QStringLiteral("cons/rt/1/game.rfa")));
        s.withChooserOpen([&] {
            TestProgram::pick(*s.chooser().ImageCombo1, 4);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
                QTest::keyClick(s.chooser().Command1, key);
            QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/4/menu.rfa")));
            s.module.state.settings.cr = QStringLiteral("1");
            s.chooser().Command1->click(); // the reticle is not chosen yet
            QVERIFY(s.chooser().isVisible());
            QCOMPARE(s.module.state.settings.cr, QStringLiteral("4"));
            TestProgram::pick(*s.chooser().ImageCombo2, 1); // its archive is missing
            QCOMPARE(s.module.state.settings.rt, QStringLiteral("1"));
            s.chooser().Command2->click();
        });
        QCOMPARE(
            s.messages(),
            (QStringList{Checks::message(QStringLiteral("Please choose crosshairs."),
                                         FailureNumber::NoItemChosen),
                         Checks::report(QStringLiteral("imgcmb2"), FailureNumber::FileNotFound,
                                        s.folder.file(QStringLiteral("cons/rt/1/game.rfa")))}));
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/4/menu.rfa")));
        QCOMPARE(s.pictures(), before);
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("7")); // picks save nothing
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 4);
            TestProgram::pick(*s.chooser().ImageCombo2, 2);
            QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
            s.chooser().Command1->click();
        });
        QVERIFY(!s.chooser().isVisible());
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("4"));
        QCOMPARE(s.stored(&SettingsRecord::rt), QStringLiteral("2"));
        QCOMPARE(s.pictures().first, s.chooser().ImageList1.picture(4)); // at its own size
        s.withChooserOpen([&] {
            TestProgram::pick(*s.chooser().ImageCombo1, 5);
            s.chooser().close();
        });
        QVERIFY(!s.module.form3Holder().exists());
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/5/menu.rfa")));
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
                 (QStringList{QStringLiteral("Crosshair 1, default"), QStringLiteral("Crosshair 7"),
                              QStringLiteral("Reticle 2"), QStringLiteral("Secure Mode on"),
                              QStringLiteral("Secure Mode off")}));
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
        QCOMPARE(s.messages(), QStringList{Checks::report(QStringLiteral("mimgset"),
                                                          FailureNumber::TypeMismatch)});
    }

    void secureModeOnAndOff()
    {
        Started s;
        const auto own = s.pictures();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/12/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
        QCOMPARE(s.module.state.settings.cr, QStringLiteral("7"));
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("Yes"));
        QVERIFY(s.pictures().first != own.first);
        QVERIFY(!s.module.form3Holder().exists()); // made when first opened, as Secure Mode left it
        s.chooserShows(true);

        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/7/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/3/game.rfa")));
        QCOMPARE(s.pictures(), own);
        s.chooserShows(false);
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("No"));
        // Without the reticle's folder, secure mode writes nothing and stays off.
        const QString reticles =
            s.folder.game() + QStringLiteral("/mods/gtide_base/archives/bf1942");
        QDir(reticles).removeRecursively();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/7/menu.rfa")));
        QCOMPARE(s.messages(), QStringList{Checks::report(QStringLiteral("check4"),
                                                          FailureNumber::PathNotFound, reticles)
                                               .chopped(1)
                                           + QStringLiteral(": install the Grimtide mod first.")});
        QVERIFY(s.chooser().ImageCombo1->isVisibleTo(&s.chooser())
                && !s.main().Check4->isChecked());
        QCOMPARE(s.module.state.settings.secure, QStringLiteral("No"));
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("No"));
    }

    void onlyCatalogueNumbersFormArchivePaths_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::newRow("climbing out") << QStringLiteral("../../x");
        QTest::newRow("leading zero") << QStringLiteral("07");
        QTest::newRow("out of range") << QStringLiteral("21");
    }

    void onlyCatalogueNumbersFormArchivePaths()
    {
        QFETCH(QString, cr);
        Started s(QStringLiteral("Yes"));
        s.module.state.settings.cr = cr;
        s.copier.sources.clear();
        s.main().Check4->click();
        QCOMPARE(s.messages(), QStringList{Checks::report(
                                   QStringLiteral("check4"), FailureNumber::FileNotFound,
                                   s.folder.file(QStringLiteral("cons/cr/%1/menu.rfa").arg(cr)))});
        QVERIFY(s.copier.sources.isEmpty());
        // Nothing was installed, so Secure Mode stays on.
        QVERIFY(s.module.state.settings.secure == QStringLiteral("Yes")
                && s.main().Check4->isChecked());
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("Yes"));
    }
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
