#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

const QString crosshairTarget = QStringLiteral("game/mods/gtide_base/archives/menu.rfa");
const QString reticleTarget = QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa");

// The player picks item N of a list with the keyboard.
void pickItem(ImageCombo& list, int position)
{
    list.setFocus();
    const int steps = position - list.selectedPosition();
    for (int i = 0; i < steps; ++i)
        QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.selectedPosition(), position);
}

QImage pictureOf(const QLabel& box)
{
    return box.pixmap().toImage();
}

struct Started {
    std::unique_ptr<TestFolder> folder = std::make_unique<TestFolder>();
    std::unique_ptr<TestProgram> program;

    explicit Started(TestFolder::Row row = {})
    {
        row.path = folder->gameRow().path;
        folder->writeSettings(row);
        program = std::make_unique<TestProgram>(*folder);
        program->start();
    }
    Module1& m() { return program->module; }
    Form3& chooser() { return program->module.form3(); }
    Form2& main() { return program->main(); }
    QString game(const QString& f) const { return folder->readFile(f); }
    QString cons(const QString& f) const { return folder->readFile(QStringLiteral("cons/") + f); }
    // Opens the chooser modally and runs the action once it is shown.
    void withChooserOpen(const std::function<void()>& action)
    {
        QTimer::singleShot(50, &chooser(), [this, action] {
            QVERIFY(chooser().isVisible());
            action();
            if (program->module.form3Holder().exists() && chooser().isVisible())
                chooser().hide();
        });
        main().mcrform->trigger();
    }
};

TestFolder::Row rowWith(const QString& secure, const QString& cr, const QString& rt)
{
    TestFolder::Row row;
    row.secure = secure;
    row.cr = cr;
    row.rt = rt;
    return row;
}

} // namespace

class TestChooser : public QObject {
    Q_OBJECT
private slots:
    void firstOpeningShowsPleaseChooseAndOkAsksForAChoice()
    {
        Started s;
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 0);
            QCOMPARE(s.chooser().ImageCombo1->count(), 20);
            QCOMPARE(s.chooser().ImageCombo2->count(), 3);
            QVERIFY(s.chooser().Image4->isVisible());
            s.chooser().Command1->click();
            QCOMPARE(s.program->sink.messages, QStringList{QStringLiteral("Please choose crosshairs.")});
            QVERIFY(s.chooser().isVisible());
        });
    }

    void pickingInstallsAtOnceAndOkStoresAndSaves()
    {
        Started s;
        const QList<SettingsRecord> stored = s.folder->storedRows();
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 7);
            QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/7/menu.rfa")));
            QCOMPARE(s.m().state.settings.cr, QStringLiteral("7"));
            QCOMPARE(s.folder->storedRows(), stored); // a pick saves nothing
            pickItem(*s.chooser().ImageCombo2, 3);
            QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/3/game.rfa")));
            s.chooser().Command1->click();
        });
        QVERIFY(!s.chooser().isVisible());
        QCOMPARE(s.folder->storedRows().value(0).cr, QStringLiteral("7"));
        QCOMPARE(s.folder->storedRows().value(0).rt, QStringLiteral("3"));
        // Shown at its own size, so the shape stays crisp.
        QCOMPARE(pictureOf(*s.main().Picture1).size(), s.chooser().ImageList1.picture(7).size());
        const QImage seven = pictureOf(*s.main().Picture1);
        s.withChooserOpen([&] {
            QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 7); // hiding kept the choice
            QCOMPARE(s.chooser().ImageCombo2->selectedPosition(), 3);
        });
        s.m().state.settings.cr = QStringLiteral("12");
        s.m().mimgset();
        QVERIFY(pictureOf(*s.main().Picture1) != seven);
    }

    void cancelKeepsTheInstalledPickButNotThePicture()
    {
        Started s;
        const QImage before = pictureOf(*s.main().Picture1);
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 4);
            s.chooser().Command2->click();
        });
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/4/menu.rfa")));
        QCOMPARE(pictureOf(*s.main().Picture1), before);
        QCOMPARE(s.folder->storedRows().value(0).cr, QStringLiteral("1"));
        QCOMPARE(s.m().state.settings.cr, QStringLiteral("4"));
    }

    void okWithOnlyTheCrosshairChosenStoresIt()
    {
        Started s;
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 2);
            s.m().state.settings.cr = QStringLiteral("1");
            s.chooser().Command1->click();
            QCOMPARE(s.program->sink.last(), QStringLiteral("Please choose crosshairs."));
            QCOMPARE(s.m().state.settings.cr, QStringLiteral("2"));
        });
        QCOMPARE(s.folder->storedRows().value(0).cr, QStringLiteral("1"));
    }

    void aMissingArchiveIsReportedUnderTheList()
    {
        Started s;
        QFile::remove(s.folder->file(QStringLiteral("cons/rt/2/game.rfa")));
        s.withChooserOpen([&] { pickItem(*s.chooser().ImageCombo2, 2); });
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("imgcmb2"), FailureNumber::FileNotFound)});
        QCOMPARE(s.m().state.settings.rt, QStringLiteral("2"));
    }

    void closeBoxForgetsThePicks()
    {
        Started s;
        s.withChooserOpen([&] {
            pickItem(*s.chooser().ImageCombo1, 5);
            s.chooser().close();
        });
        QVERIFY(!s.m().form3Holder().exists());
        s.withChooserOpen([&] { QCOMPARE(s.chooser().ImageCombo1->selectedPosition(), 0); });
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/5/menu.rfa")));
    }

    void picturesFollowTheSettings()
    {
        Started s;
        const auto shown = [&](const char* secure, const char* cr, const char* rt) {
            s.m().state.settings.secure = QString::fromLatin1(secure);
            s.m().state.settings.cr = QString::fromLatin1(cr);
            s.m().state.settings.rt = QString::fromLatin1(rt);
            s.program->sink.messages.clear();
            s.m().mimgset();
            return std::pair{pictureOf(*s.main().Picture1), pictureOf(*s.main().Picture2)};
        };
        const auto pinned = shown("Yes", "", "");
        QVERIFY(s.program->sink.messages.isEmpty()); // secure: cr and rt are not read
        QCOMPARE(shown("No", "12", "2"), pinned);
        QCOMPARE(shown("yes", "x", "x"), pinned);
        const auto fiveThree = shown("No", "5", "3");
        QVERIFY(fiveThree.first != pinned.first);
        QVERIFY(fiveThree.second != pinned.second);
        QCOMPARE(shown("No", "21", "3"), fiveThree); // out of the catalogue: unchanged
        QVERIFY(s.program->sink.messages.isEmpty());
        QCOMPARE(shown("No", "2.5", "0"), fiveThree);
        const auto failed = shown("No", "", "1");
        QCOMPARE(failed, fiveThree);
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("mimgset"), FailureNumber::TypeMismatch)});
        const auto half = shown("No", "12", "x");
        QCOMPARE(half.first, pinned.first);
        QCOMPARE(half.second, fiveThree.second);
        QCOMPARE(s.program->sink.messages.size(), 1);
    }

    void secureModeOnAndOff()
    {
        Started s(rowWith(QStringLiteral("No"), QStringLiteral("7"), QStringLiteral("3")));
        const auto ownPictures = std::pair{pictureOf(*s.main().Picture1), pictureOf(*s.main().Picture2)};
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/12/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/2/game.rfa")));
        QCOMPARE(s.m().state.settings.cr, QStringLiteral("7"));
        QCOMPARE(s.folder->storedRows().value(0).secure, QStringLiteral("Yes"));
        QVERIFY(pictureOf(*s.main().Picture1) != ownPictures.first);
        Form3& chooser = s.chooser();
        QVERIFY(!chooser.ImageCombo1->isVisibleTo(&chooser));
        QVERIFY(!chooser.ImageCombo2->isVisibleTo(&chooser));
        QVERIFY(!chooser.Command1->isVisibleTo(&chooser));
        QVERIFY(chooser.Image1->isVisibleTo(&chooser));
        QVERIFY(!chooser.Image1->pixmap().isNull());
        QVERIFY(chooser.Image3->isVisibleTo(&chooser));
        QVERIFY(!chooser.Image4->isVisibleTo(&chooser));

        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/7/menu.rfa")));
        QCOMPARE(s.game(reticleTarget), s.cons(QStringLiteral("rt/3/game.rfa")));
        QCOMPARE(std::pair(pictureOf(*s.main().Picture1), pictureOf(*s.main().Picture2)), ownPictures);
        QVERIFY(chooser.ImageCombo1->isVisibleTo(&chooser));
        QVERIFY(chooser.Image4->isVisibleTo(&chooser));
        QVERIFY(!chooser.Image3->isVisibleTo(&chooser));
        QCOMPARE(s.folder->storedRows().value(0).secure, QStringLiteral("No"));
        QVERIFY(s.program->sink.messages.isEmpty());
    }

    void onlyCatalogueNumbersFormArchivePaths_data()
    {
        QTest::addColumn<QString>("cr");
        QTest::newRow("empty") << QString();
        QTest::newRow("climbing out") << QStringLiteral("../../x");
        QTest::newRow("absolute") << QStringLiteral("/etc");
        QTest::newRow("leading zero") << QStringLiteral("07");
        QTest::newRow("out of range") << QStringLiteral("21");
    }

    void onlyCatalogueNumbersFormArchivePaths()
    {
        QFETCH(QString, cr);
        Started s(rowWith(QStringLiteral("Yes"), QStringLiteral("7"), QStringLiteral("3")));
        // A file that a path-like choice would reach if it formed a path.
        QDir().mkpath(s.folder->file(QStringLiteral("x")));
        s.m().state.settings.cr = cr;
        s.program->copier.sources.clear();
        const QString pinned = s.game(crosshairTarget);
        s.main().Check4->click();
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("check4"), FailureNumber::FileNotFound)});
        QVERIFY(s.program->copier.sources.isEmpty());
        QCOMPARE(s.game(crosshairTarget), pinned);
        QCOMPARE(s.m().state.settings.secure, QStringLiteral("No"));
        QCOMPARE(s.folder->storedRows().value(0).secure, QStringLiteral("Yes"));
    }

    void aMissingReticleFolderStopsSecureModeHalfWay()
    {
        Started s;
        QDir(s.folder->game() + QStringLiteral("/mods/gtide_base/archives/bf1942")).removeRecursively();
        s.main().Check4->click();
        QCOMPARE(s.game(crosshairTarget), s.cons(QStringLiteral("cr/12/menu.rfa")));
        QCOMPARE(s.program->sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("check4"), FailureNumber::PathNotFound)});
        QVERIFY(s.chooser().ImageCombo1->isVisibleTo(&s.chooser()));
        QCOMPARE(s.folder->storedRows().value(0).secure, QStringLiteral("No"));
    }
};

QTEST_MAIN(TestChooser)
#include "test_chooser.moc"
