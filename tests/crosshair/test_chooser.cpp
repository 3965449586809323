#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/Checks.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QTest>

namespace {

const QString crosshairTarget = QStringLiteral("game/mods/gtide_base/archives/menu.rfa");
const QString reticleTarget = QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa");

// The player picks item N of a list with the keyboard.
void pickItem(ImageCombo& list, int position)
{
    list.setFocus();
    for (int step = list.selectedPosition(); step < position; ++step)
        QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedPosition(), position);
}

struct Started {
    TestFolder folder;
    std::unique_ptr<TestProgram> program;

    explicit Started(const QString& secure = QStringLiteral("No"))
    {
        TestFolder::Row row = folder.gameRow();
        row.secure = secure;
        row.cr = QStringLiteral("7");
        row.rt = QStringLiteral("3");
        folder.writeSettings(row);
        program = std::make_unique<TestProgram>(folder);
        program->start();
    }
    Module1& m() { return program->module; }
    Form3& chooser() { return program->module.form3(); }
    Form2& main() { return program->main(); }
    QStringList& messages() { return program->sink.messages; }
    QString game(const QString& f) const { return folder.readFile(f); }
    QString cons(const QString& f) const { return folder.readFile(QStringLiteral("cons/") + f); }
    QString stored(QString SettingsRecord::*field) const
    {
        return folder.storedRows().value(0).*field;
    }
    // Opens the chooser modally and runs the action once it is shown.
    void withChooserOpen(const std::function<void()>& action)
    {
        QTimer::singleShot(50, &chooser(), [this, action] {
            QVERIFY(chooser().isVisible());
            action();
            if (m().form3Holder().exists() && chooser().isVisible())
                chooser().hide();
        });
        main().mcrform->trigger();
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
            pickItem(*s.chooser().ImageCombo1, 4);
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
                QTest::keyClick(s.chooser().Command1, key);
            QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/4/menu.rfa")));
            s.m().state.settings.cr = QStringLiteral("1");
            s.chooser().Command1->click(); // the reticle is not chosen yet
            QVERIFY(s.chooser().isVisible());
            QCOMPARE(s.m().state.settings.cr, QStringLiteral("4"));
            pickItem(*s.chooser().ImageCombo2, 1); // its archive is missing
            QCOMPARE(s.m().state.settings.rt, QStringLiteral("1"));
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
            pickItem(*s.chooser().ImageCombo2, 2);
            QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
            s.chooser().Command1->click();
        });
        QVERIFY(!s.chooser().isVisible());
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("4"));
        QCOMPARE(s.stored(&SettingsRecord::rt), QStringLiteral("2"));
        QCOMPARE(s.pictures().first, s.chooser().ImageList1.picture(4)); // at its own size
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 5);
            s.chooser().close();
        });
        QVERIFY(!s.m().form3Holder().exists());
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
            s.m().state.settings.secure = QString::fromLatin1(secure);
            s.m().state.settings.cr = QString::fromLatin1(cr);
            s.m().state.settings.rt = QString::fromLatin1(rt);
            s.m().mimgset();
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
        Form3& chooser = s.chooser();
        const auto shows = [&](std::initializer_list<QWidget*> controls, bool visible) {
            for (QWidget* control : controls)
                QCOMPARE(control->isVisibleTo(&chooser), visible);
        };
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/12/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
        QCOMPARE(s.m().state.settings.cr, QStringLiteral("7"));
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("Yes"));
        QVERIFY(s.pictures().first != own.first);
        shows({chooser.Image1, chooser.Image2, chooser.Image3}, true);
        shows({chooser.ImageCombo1, chooser.ImageCombo2, chooser.Command1, chooser.Image4}, false);
        QCOMPARE(chooser.Image1->pixmap().toImage(), chooser.ImageList1.picture(12));

        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/7/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/3/game.rfa")));
        QCOMPARE(s.pictures(), own);
        shows({chooser.Image1, chooser.Image2, chooser.Image3}, false);
        shows({chooser.ImageCombo1, chooser.ImageCombo2, chooser.Command1, chooser.Image4}, true);
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
        QVERIFY(chooser.ImageCombo1->isVisibleTo(&chooser) && !s.main().Check4->isChecked());
        QCOMPARE(s.m().state.settings.secure, QStringLiteral("No"));
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
        s.m().state.settings.cr = cr;
        s.program->copier.sources.clear();
        s.main().Check4->click();
        QCOMPARE(s.messages(), QStringList{Checks::report(
                                   QStringLiteral("check4"), FailureNumber::FileNotFound,
                                   s.folder.file(QStringLiteral("cons/cr/%1/menu.rfa").arg(cr)))});
        QVERIFY(s.program->copier.sources.isEmpty());
        // Nothing was installed, so Secure Mode stays on.
        QVERIFY(s.m().state.settings.secure == QStringLiteral("Yes")
                && s.main().Check4->isChecked());
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("Yes"));
    }
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
