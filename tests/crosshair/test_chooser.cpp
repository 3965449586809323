#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QTest>

namespace {

const QString crosshairTarget = QStringLiteral("game/mods/gtide_base/archives/menu.rfa");
const QString reticleTarget = QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa");

// The player picks item N of a list with the keyboard.
void pickItem(ImageCombo& list, int position) {
    list.setFocus();
    for (int step = list.selectedPosition(); step < position; ++step)
        QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedPosition(), position);
}

QImage pictureOf(const QLabel& box) {
    return box.pixmap().toImage();
}

struct Started {
    TestFolder folder;
    std::unique_ptr<TestProgram> program;

    explicit Started(const QString& secure = QStringLiteral("No")) {
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
    QString stored(QString SettingsRecord::*field) const {
        return folder.storedRows().value(0).*field;
    }
    // Opens the chooser modally and runs the action once it is shown.
    void withChooserOpen(const std::function<void()>& action) {
        QTimer::singleShot(50, &chooser(), [this, action] {
            QVERIFY(chooser().isVisible());
            action();
            if (m().form3Holder().exists() && chooser().isVisible())
                chooser().hide();
        });
        main().mcrform->trigger();
    }
    std::pair<QImage, QImage> pictures() {
        return {pictureOf(*main().Picture1), pictureOf(*main().Picture2)};
    }
};

} // namespace

class TestChooser : public QObject {
    Q_OBJECT
private slots:
    void pickingInstallsAtOnceAndOkStoresAndSaves() {
        Started s;
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 0);
            QCOMPARE(s.chooser().ImageCombo1->count(), 20);
            QCOMPARE(s.chooser().ImageCombo2->count(), 3);
            QVERIFY(s.chooser().Image4->isVisible());
            pickItem(*s.chooser().ImageCombo1, 2);
            QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/2/menu.rfa")));
            QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("7")); // a pick saves nothing
            s.m().state.settings.cr = QStringLiteral("1");
            s.chooser().Command1->click(); // the reticle is not chosen yet
            QCOMPARE(s.messages(), QStringList{QStringLiteral("Please choose crosshairs.")});
            QVERIFY(s.chooser().isVisible());
            QCOMPARE(s.m().state.settings.cr, QStringLiteral("2"));
            pickItem(*s.chooser().ImageCombo2, 2);
            QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
            s.chooser().Command1->click();
        });
        QVERIFY(!s.chooser().isVisible());
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("2"));
        QCOMPARE(s.stored(&SettingsRecord::rt), QStringLiteral("2"));
        // Shown at its own size, so the shape stays crisp.
        QCOMPARE(pictureOf(*s.main().Picture1), s.chooser().ImageList1.picture(2));
    }

    void cancelHidesKeepingThePicksTheCloseBoxForgetsThem() {
        Started s;
        const auto before = s.pictures();
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 4);
            s.chooser().Command2->click();
        });
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/4/menu.rfa")));
        QCOMPARE(s.pictures(), before);
        QCOMPARE(s.stored(&SettingsRecord::cr), QStringLiteral("7"));
        QCOMPARE(s.m().state.settings.cr, QStringLiteral("4"));
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 4);
            pickItem(*s.chooser().ImageCombo1, 5);
            s.chooser().close();
        });
        QVERIFY(!s.m().form3Holder().exists());
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/5/menu.rfa")));
        s.withChooserOpen([&] { QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 0); });
    }

    void aMissingArchiveIsReportedUnderTheList() {
        Started s;
        QFile::remove(s.folder.file(QStringLiteral("cons/rt/1/game.rfa")));
        s.withChooserOpen([&] { pickItem(*s.chooser().ImageCombo2, 1); });
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("imgcmb2"),
                                                             FailureNumber::FileNotFound)});
        QCOMPARE(s.m().state.settings.rt, QStringLiteral("1"));
    }

    void picturesFollowTheSettings() {
        Started s;
        const auto shown = [&](const char* secure, const char* cr, const char* rt) {
            s.m().state.settings.secure = QString::fromLatin1(secure);
            s.m().state.settings.cr = QString::fromLatin1(cr);
            s.m().state.settings.rt = QString::fromLatin1(rt);
            s.messages().clear();
            s.m().mimgset();
            return s.pictures();
        };
        const auto pinned = shown("Yes", "", "");
        QVERIFY(s.messages().isEmpty()); // secure: cr and rt are not read
        QCOMPARE(shown("yes", "x", "x"), pinned);
        const auto fiveThree = shown("No", "5", "3");
        QVERIFY(fiveThree.first != pinned.first);
        QVERIFY(fiveThree.second != pinned.second);
        QCOMPARE(shown("No", "21", "3"), fiveThree); // out of the catalogue: unchanged
        QCOMPARE(shown("No", "2.5", "0"), fiveThree);
        QVERIFY(s.messages().isEmpty());
        QCOMPARE(shown("No", "", "1"), fiveThree);
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("mimgset"),
                                                             FailureNumber::TypeMismatch)});
        const auto half = shown("No", "12", "x");
        QCOMPARE(half.first, pinned.first);
        QCOMPARE(half.second, fiveThree.second);
        QCOMPARE(s.messages().size(), 1);
    }

    void secureModeOnAndOff() {
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
        QVERIFY(s.messages().isEmpty());
    }

    void onlyCatalogueNumbersFormArchivePaths_data() {
        QTest::addColumn<QString>("cr");
        QTest::newRow("empty") << QString();
        QTest::newRow("climbing out") << QStringLiteral("../../x");
        QTest::newRow("leading zero") << QStringLiteral("07");
        QTest::newRow("out of range") << QStringLiteral("21");
    }

    void onlyCatalogueNumbersFormArchivePaths() {
        QFETCH(QString, cr);
        Started s(QStringLiteral("Yes"));
        // A folder that a path-like choice would reach if it formed a path.
        QDir().mkpath(s.folder.file(QStringLiteral("x")));
        s.m().state.settings.cr = cr;
        s.program->copier.sources.clear();
        const QString pinned = s.game(crosshairTarget);
        s.main().Check4->click();
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("check4"),
                                                             FailureNumber::FileNotFound)});
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.game(crosshairTarget), pinned);
        QCOMPARE(s.m().state.settings.secure, QStringLiteral("No"));
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("Yes"));
    }

    void aMissingReticleFolderStopsSecureModeHalfWay() {
        Started s;
        QDir(s.folder.game() + QStringLiteral("/mods/gtide_base/archives/bf1942"))
            .removeRecursively();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/12/menu.rfa")));
        QCOMPARE(s.messages(), QStringList{ErrorReport::text(QStringLiteral("check4"),
                                                             FailureNumber::PathNotFound)});
        QVERIFY(s.chooser().ImageCombo1->isVisibleTo(&s.chooser()));
        QCOMPARE(s.stored(&SettingsRecord::secure), QStringLiteral("No"));
    }
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
