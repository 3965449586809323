#include "gui/app/Form2.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void init() { startIn(true, 1); }

    void cleanup()
    {
        program.reset();
        folder.reset();
    }

    void setupOpensBesideTheMainWindowAtTheWorkingFolder()
    {
        Form4& chooser = program->module.form4();
        QVERIFY(chooser.isVisible());
        QVERIFY(program->main().isVisible());
        QVERIFY(chooser.Command2->isVisible());
        QCOMPARE(chooser.Dir1->path(), QDir::toNativeSeparators(folder->path()));
        QCOMPARE(chooser.Label1->text(),
                 QStringLiteral("Please choose your Battlefield 1942 directory"));
    }

    void browsingThenCancelChangesNothing()
    {
        Form4& chooser = program->module.form4();
        const SettingsRecord before = program->module.state.settings;
        const QString modsBefore = program->module.state.modsPath();
        const QString other = folder->file(QStringLiteral("Other Game – Ü"));
        QDir().mkpath(other);
        chooser.Dir1->setPath(other);
        QCOMPARE(chooser.Label1->text(), QDir::toNativeSeparators(other));
        chooser.Command2->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(program->module.state.settings, before);
        QCOMPARE(program->module.state.modsPath(), modsBefore);

        program->main().msetup->trigger();
        chooser.Dir1->setPath(other);
        chooser.close(); // the close box after start-up: no message, nothing kept
        QCOMPARE(program->ends, 0);
        QVERIFY(program->sink.messages.isEmpty());
        QCOMPARE(program->module.state.settings, before);
        program->main().msetup->trigger();
        QCOMPARE(program->module.form4().Dir1->path(), QDir::toNativeSeparators(folder->path()));
    }

    void okStoresTheFolderDerivesTheModsPathAndSaves()
    {
        Form4& chooser = program->module.form4();
        const QString other = folder->file(QStringLiteral("Battlefield 1942"));
        QDir().mkpath(other);
        chooser.Dir1->setPath(other);
        chooser.Command1->click();
        QVERIFY(!chooser.isVisible());
        QCOMPARE(program->module.state.settings.path, QDir::toNativeSeparators(other));
        QCOMPARE(program->module.state.modsPath(),
                 QDir::toNativeSeparators(other) + QDir::separator() + QStringLiteral("mods") + QDir::separator());
        QCOMPARE(folder->storedRows().value(0).path, QDir::toNativeSeparators(other));

        program->main().msetup->trigger();
        chooser.Dir1->setPath(QDir::rootPath());
        chooser.Command1->click();
        const QString root = QDir::toNativeSeparators(QDir::rootPath());
        QCOMPARE(program->module.state.settings.path, root);
        QCOMPARE(program->module.state.modsPath(), root + QDir::separator() + QStringLiteral("mods") + QDir::separator());
    }

    void aFoundGameComesFirstAndOpensWithTheKeyboard()
    {
        Form4& chooser = program->module.form4();
        QCOMPARE(chooser.Drive1->itemText(0), QStringLiteral("Battlefield 1942 (~/.wine)"));
        QTest::keyClick(chooser.Drive1, Qt::Key_Home);
        QCOMPARE(chooser.Dir1->path(), games.first());
        QTest::keyClick(chooser.Dir1, Qt::Key_Down);
        QTest::keyClick(chooser.Dir1, Qt::Key_Return);
        QVERIFY(chooser.isVisible()); // Enter opens the folder, never presses "Ok"
        QCOMPARE(chooser.Dir1->path(), games.first() + QDir::separator() + QStringLiteral("mods"));
        QTest::keyClick(chooser.Dir1, Qt::Key_Backspace);
        chooser.Command1->click();
        QCOMPARE(folder->storedRows().value(0).path, games.first());
    }

    void theListAndLabelGrowWithTheWindowTheRestKeepsToTheBottom()
    {
        Form4& chooser = program->module.form4();
        const QList<QWidget*> controls{chooser.Label1, chooser.Dir1, chooser.Drive1,
                                       chooser.Command1, chooser.Command2};
        QList<QRect> initial;
        for (QWidget* control : controls)
            initial << control->geometry();
        QCOMPARE(initial, (QList<QRect>{{8, 0, 161, 41},
                                        {24, 48, 129, 126},
                                        {40, 176, 97, 21},
                                        {8, 200, 65, 25},
                                        {88, 200, 65, 25}}));
        chooser.resize(chooser.size() + QSize(100, 80));
        QCOMPARE(chooser.Label1->geometry(), initial[0].adjusted(0, 0, 100, 0));
        QCOMPARE(chooser.Dir1->geometry(), initial[1].adjusted(0, 0, 100, 80));
        for (int i = 2; i < controls.size(); ++i)
            QCOMPARE(controls[i]->geometry(), initial[i].translated(0, 80));
    }

    void aFirstStartOpensTheOnlyGameFound_data()
    {
        QTest::addColumn<int>("gamesFound");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
    }

    void aFirstStartOpensTheOnlyGameFound()
    {
        QFETCH(int, gamesFound);
        startIn(false, gamesFound);
        const QString expected =
            gamesFound == 1 ? games.first() : QDir::toNativeSeparators(folder->path());
        QString shown;
        program->whenChooserShows([&](Form4& chooser) {
            shown = chooser.Dir1->path();
            chooser.Command1->click();
        });
        program->start();
        QCOMPARE(shown, expected);
        QVERIFY(program->main().isVisible());
        QCOMPARE(folder->storedRows().value(0).path, expected);
    }

private:
    // A program in a fresh folder and home, holding the number of games; with
    // a stored path it is started and "S&etup" opened, else left to start.
    void startIn(bool withPath, int gamesFound)
    {
        program.reset();
        folder.reset(); // gives the working directory back first
        folder = std::make_unique<TestFolder>();
        folder->writeSettings(withPath ? folder->gameRow() : TestFolder::Row{});
        qputenv("HOME", QFile::encodeName(folder->file(QStringLiteral("home"))));
        games.clear();
        for (const char* prefix : {".wine", "Games/bf1942"}) {
            if (games.size() == gamesFound)
                break;
            const QString game = folder->file(
                QStringLiteral("home/%1/drive_c/Program Files/EA GAMES/Battlefield 1942")
                    .arg(QString::fromUtf8(prefix)));
            QVERIFY(QDir().mkpath(game + QStringLiteral("/mods/bf1942")));
            games << QDir::toNativeSeparators(game);
        }
        program = std::make_unique<TestProgram>(*folder);
        if (!withPath)
            return;
        program->start();
        program->main().msetup->trigger();
    }

    std::unique_ptr<TestFolder> folder;
    std::unique_ptr<TestProgram> program;
    QStringList games;
};

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
