#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { program.reset(); } // gives the working directory back

    void setupBrowsesAndOnlyOkStores()
    {
        startIn(true, 1);
        QWidget* chooser = TestProgram::window("Form4");
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
            QTest::keyClick(control<QPushButton>("Command1"), key);
        QVERIFY(chooser->isVisible());
        QVERIFY(control<QPushButton>("Command2")->isVisible());
        QCOMPARE(control<QLabel>("Label1")->text(),
                 u"Please choose your Battlefield 1942 directory"_s);
        const SettingsRecord before = program->settings();
        QTRY_VERIFY(!control<DriveList>("Drive1")->isSearching());
        QTest::keyClick(control<DriveList>("Drive1"), Qt::Key_Home); // the game found
        QCOMPARE(control<QLabel>("Label1")->text(), games.first());
        control<QPushButton>("Command2")->click();
        QVERIFY(!chooser->isVisible());
        program->inMain<QAction>("msetup")->trigger();
        chooser->close(); // the close box after start-up: no message, nothing kept
        QCOMPARE(program->ends, 0);
        QCOMPARE(program->messages(), QStringList());
        QCOMPARE(program->settings(), before);

        program->inMain<QAction>("msetup")->trigger(); // made anew, at the working folder
        QCOMPARE(control<DirList>("Dir1")->path(),
                 QDir::toNativeSeparators(program->folder.path()));
        // The list and its label grow with the window, the rest keeps to the bottom; the drive
        // list takes the room its longest entry needs.
        QTRY_VERIFY(!control<DriveList>("Drive1")->isSearching());
        chooser = TestProgram::window("Form4");
        chooser->resize(chooser->size() + QSize(100, 80));
        QCOMPARE(control<DirList>("Dir1")->geometry(), QRect(24, 48, 229, 206));
        const int room = control<QLabel>("Label1")->geometry().right() + 1 - 40;
        QCOMPARE(control<DriveList>("Drive1")->geometry(),
                 QRect(40, 256,
                       std::min(control<DriveList>("Drive1")->widthForLongestEntry(), room), 21));
        control<QPushButton>("Command1")->click();
        QVERIFY(!chooser->isVisible());
        QCOMPARE(program->folder.storedRows().value(0).path, program->folder.path());
        // Stored after the first start, the packs stay as they were ticked.
        QCOMPARE(program->folder.storedRows().value(0).rtr, before.rtr);
    }

    void aFirstStartOpensTheOnlyGameFound_data()
    {
        QTest::addColumn<qsizetype>("gamesFound");
        QTest::newRow("one game") << qsizetype(1);
        QTest::newRow("two games") << qsizetype(2);
    }

    void aFirstStartOpensTheOnlyGameFound()
    {
        QFETCH(qsizetype, gamesFound);
        startIn(false, gamesFound);
        QString shown;
        program->whenDirectoryChooserShows([&](QWidget& chooser) {
            QTRY_VERIFY(!chooser.findChild<DriveList*>(u"Drive1"_s)->isSearching());
            shown = chooser.findChild<DirList*>(u"Dir1"_s)->path();
            chooser.findChild<QPushButton*>(u"Command1"_s)->click();
        });
        program->start();
        QCOMPARE(shown, gamesFound == 1 ? games.first() : program->folder.path());
    }

    // After an empty table the start is no first start: the packs stay as
    // the player ticked them.
    void afterAnEmptyTableOkKeepsThePlayersTicks()
    {
        program = std::make_unique<TestProgram>(TestFolder::Row{}, TestProgram::Start::Later);
        Checks::exec(program->folder.databaseFile(), "DELETE FROM Options");
        QDir(program->mods(u"xpack2"_s)).removeRecursively();
        program->start();
        program->inMain<QCheckBox>("Check2")->click();
        program->inMain<QAction>("msetup")->trigger();
        control<DirList>("Dir1")->setPath(program->folder.game());
        control<QPushButton>("Command1")->click();
        QCOMPARE(program->folder.storedRows().value(0).sw, u"yes"_s);
        QCOMPARE(program->folder.storedRows().value(0).path, program->folder.game());
    }

private:
    // The program in a fresh folder and home with games; with a stored path, "S&etup" open.
    void startIn(bool withPath, qsizetype gamesFound)
    {
        program = std::make_unique<TestProgram>(
            TestFolder::Row{}, withPath ? TestProgram::Start::Later : TestProgram::Start::First);
        const QDir home(program->folder.file(u"home"_s));
        qputenv("HOME", QFile::encodeName(home.path()));
        games.clear();
        for (const char* prefix : QList{".wine", "Games/bf1942"}.first(gamesFound)) {
            games << QDir::toNativeSeparators(home.filePath(
                QString::fromUtf8(prefix) + u"/drive_c/Program Files/EA GAMES/Battlefield 1942"_s));
            QVERIFY(QDir().mkpath(games.last() + u"/mods/bf1942"_s));
        }
        if (withPath) {
            program->start();
            program->inMain<QAction>("msetup")->trigger();
        }
    }

    template <typename Control> static Control* control(const char* name)
    {
        return TestProgram::control<Control>("Form4", name);
    }

    std::unique_ptr<TestProgram> program;
    QStringList games;
};

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
