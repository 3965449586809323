#include "gui/app/Form2.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/TestProgram.h"

#include <QAction>
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
        Form4* chooser = &program->module.form4();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) // no default, no cancel key
            QTest::keyClick(chooser->Command1, key);
        QVERIFY(chooser->isVisible() && chooser->Command2->isVisible());
        QCOMPARE(chooser->Label1->text(), u"Please choose your Battlefield 1942 directory"_s);
        const SettingsRecord before = program->module.state.settings;
        QTRY_VERIFY(!chooser->Drive1->isSearching());
        QTest::keyClick(chooser->Drive1, Qt::Key_Home); // the game found
        QCOMPARE(chooser->Label1->text(), games.first());
        chooser->Command2->click();
        QVERIFY(!chooser->isVisible());
        program->main().msetup->trigger();
        chooser->close(); // the close box after start-up: no message, nothing kept
        QVERIFY(program->ends == 0 && program->sink.messages.isEmpty());
        QCOMPARE(program->module.state.settings, before);

        program->main().msetup->trigger();
        chooser = &program->module.form4();
        const QString reopenedAt = QDir::toNativeSeparators(program->folder.path());
        QCOMPARE(chooser->Dir1->path(), reopenedAt);
        // The list and its label grow with the window, the rest keeps to the bottom; the drive
        // list takes the room its longest entry needs.
        QTRY_VERIFY(!chooser->Drive1->isSearching());
        chooser->resize(chooser->size() + QSize(100, 80));
        QCOMPARE(chooser->Dir1->geometry(), QRect(24, 48, 229, 206));
        const int room = chooser->Label1->geometry().right() + 1 - 40;
        QCOMPARE(chooser->Drive1->geometry(),
                 QRect(40, 256, std::min(chooser->Drive1->widthForLongestEntry(), room), 21));
        chooser->Command1->click();
        QVERIFY(!chooser->isVisible());
        QCOMPARE(program->folder.storedRows().value(0).path, reopenedAt);
    }

    void aFirstStartOpensTheOnlyGameFound()
    {
        for (const qsizetype gamesFound : {1, 2}) {
            startIn(false, gamesFound);
            QString shown;
            program->whenChooserShows([&](Form4& chooser) {
                QTRY_VERIFY(!chooser.Drive1->isSearching());
                shown = chooser.Dir1->path();
                chooser.Command1->click();
            });
            program->start();
            QCOMPARE(shown, gamesFound == 1 ? games.first()
                                            : QDir::toNativeSeparators(program->folder.path()));
            cleanup();
        }
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
            program->main().msetup->trigger();
        }
    }

    std::unique_ptr<TestProgram> program;
    QStringList games;
};

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
