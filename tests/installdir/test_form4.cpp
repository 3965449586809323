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
    void cleanup() {
        program.reset();
        folder.reset();
    }

    void setupBrowsesAndOnlyOkStores() {
        startIn(true, 1);
        Form4& chooser = program->module.form4();
        QVERIFY(chooser.isVisible() && program->main().isVisible() &&
                chooser.Command2->isVisible());
        QCOMPARE(chooser.Dir1->path(), QDir::toNativeSeparators(folder->path()));
        QCOMPARE(chooser.Label1->text(),
                 QStringLiteral("Please choose your Battlefield 1942 directory"));
        const SettingsRecord before = program->module.state.settings;
        const QString modsBefore = program->module.state.modsPath();
        const QString other =
            QDir::toNativeSeparators(folder->file(QStringLiteral("Other Game – Ü")));
        QDir().mkpath(other);
        chooser.Dir1->setPath(other);
        QCOMPARE(chooser.Label1->text(), other);
        chooser.Command2->click();
        QVERIFY(!chooser.isVisible());
        program->main().msetup->trigger();
        chooser.Dir1->setPath(other);
        chooser.close(); // the close box after start-up: no message, nothing kept
        QCOMPARE(program->ends, 0);
        QVERIFY(program->sink.messages.isEmpty());
        QCOMPARE(program->module.state.settings, before);
        QCOMPARE(program->module.state.modsPath(), modsBefore);

        program->main().msetup->trigger();
        Form4& reopened = program->module.form4();
        QCOMPARE(reopened.Dir1->path(), QDir::toNativeSeparators(folder->path()));
        for (const QString& chosen : {other, QDir::toNativeSeparators(QDir::rootPath())}) {
            program->main().msetup->trigger();
            reopened.Dir1->setPath(chosen);
            reopened.Command1->click();
            QVERIFY(!reopened.isVisible());
            QCOMPARE(program->module.state.settings.path, chosen);
            QCOMPARE(program->module.state.modsPath(),
                     chosen + QDir::separator() + QStringLiteral("mods") + QDir::separator());
            QCOMPARE(folder->storedRows().value(0).path, chosen);
        }
    }

    void theListAndLabelGrowWithTheWindowTheRestKeepsToTheBottom() {
        startIn(true, 1);
        Form4& chooser = program->module.form4();
        const QList<QWidget*> controls{chooser.Label1, chooser.Dir1, chooser.Drive1,
                                       chooser.Command1, chooser.Command2};
        const QList<QRect> initial{{8, 0, 161, 41},
                                   {24, 48, 129, 126},
                                   {40, 176, 97, 21},
                                   {8, 200, 65, 25},
                                   {88, 200, 65, 25}};
        chooser.resize(chooser.size() + QSize(100, 80));
        const QList<QRect> grown{initial[0].adjusted(0, 0, 100, 0),
                                 initial[1].adjusted(0, 0, 100, 80), initial[2].translated(0, 80),
                                 initial[3].translated(0, 80), initial[4].translated(0, 80)};
        for (const auto& expected : {grown, initial}) {
            for (int i = 0; i < controls.size(); ++i)
                QCOMPARE(controls[i]->geometry(), expected[i]);
            chooser.resize(chooser.minimumSize());
        }
    }

    void aFoundGameComesFirstAndOpensWithTheKeyboard() {
        startIn(true, 1);
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

    void aFirstStartOpensTheOnlyGameFound_data() {
        QTest::addColumn<int>("gamesFound");
        QTest::newRow("one") << 1;
        QTest::newRow("two") << 2;
    }

    void aFirstStartOpensTheOnlyGameFound() {
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
    void startIn(bool withPath, int gamesFound) {
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
