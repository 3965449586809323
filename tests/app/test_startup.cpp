#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/DirList.h"
#include "gui/installdir/Form4.h"
#include "support/Checks.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void pureRowSetsThePureSide()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.rtr = QStringLiteral("yes");
        folder.writeSettings(row);
        const QByteArray stored = Checks::bytesOf(folder.databaseFile());
        TestProgram program(folder);
        program.start();
        Form2& main = program.main();
        QVERIFY(main.isVisible());
        QVERIFY(!program.module.form1().isVisible());
        QVERIFY(main.Option1->isChecked());
        QVERIFY(!main.Option2->isChecked());
        QCOMPARE(main.Label4->text(), QStringLiteral("Pure"));
        QVERIFY(main.Check1->isChecked());
        QVERIFY(!main.Check2->isChecked());
        QCOMPARE(main.Label7->text(), QStringLiteral("yes"));
        QCOMPARE(main.Label8->text(), QStringLiteral("no"));
        QVERIFY(main.mpopunpure->isVisible());
        QVERIFY(!main.mpoppure->isVisible());
        QCOMPARE(program.tray.tip, QStringLiteral("pure"));
        QCOMPARE(program.module.state.loadingFlag, QStringLiteral("0"));
        QCOMPARE(program.module.state.modsPath(), *row.path + QStringLiteral("/mods/"));
        QVERIFY(program.sink.messages.isEmpty());
        QVERIFY(program.copier.sources.isEmpty());
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), stored); // a start-up saves nothing
        // The chooser came into being, hidden, for its picture lists.
        QVERIFY(program.module.form3Holder().exists());
        QVERIFY(!program.module.form3().isVisible());
    }

    void anyOtherStatusIsGrimtide_data()
    {
        QTest::addColumn<QString>("status");
        QTest::newRow("Grimtide") << QStringLiteral("Grimtide");
        QTest::newRow("lower case pure") << QStringLiteral("pure");
        QTest::newRow("empty") << QString();
    }

    void anyOtherStatusIsGrimtide()
    {
        QFETCH(QString, status);
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.status = status;
        folder.writeSettings(row);
        TestProgram program(folder);
        program.start();
        Form2& main = program.main();
        QVERIFY(main.Option2->isChecked());
        QVERIFY(!main.Option1->isChecked());
        QCOMPARE(main.Label4->text(), status);
        QVERIFY(main.mpoppure->isVisible());
        QVERIFY(!main.mpopunpure->isVisible());
        QCOMPARE(program.tray.tip, QStringLiteral("unpure"));
        QVERIFY(program.copier.sources.isEmpty());
        QCOMPARE(program.module.state.settings.status, status);
    }

    void packsOtherThanNoStartTickedAsYes()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.rtr = QStringLiteral("No");
        row.sw = QString();
        folder.writeSettings(row);
        TestProgram program(folder);
        program.start();
        Form2& main = program.main();
        QVERIFY(main.Check1->isChecked());
        QVERIFY(main.Check2->isChecked());
        QCOMPARE(program.module.state.settings.rtr, QStringLiteral("yes"));
        QCOMPARE(program.module.state.settings.sw, QStringLiteral("yes"));
        QCOMPARE(main.Label7->text(), QStringLiteral("yes"));
        QCOMPARE(folder.storedRows().first().rtr, QStringLiteral("No"));
    }

    void secureStartInstallsThePinnedArchivesWithoutSaving()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.secure = QStringLiteral("Yes");
        row.cr = QStringLiteral("7");
        folder.writeSettings(row);
        const QByteArray stored = Checks::bytesOf(folder.databaseFile());
        TestProgram program(folder);
        program.start();
        QVERIFY(program.main().Check4->isChecked());
        QCOMPARE(program.copier.sources.size(), 2);
        QCOMPARE(folder.readFile(QStringLiteral("game/mods/gtide_base/archives/menu.rfa")),
                 folder.readFile(QStringLiteral("cons/cr/12/menu.rfa")));
        QCOMPARE(folder.readFile(QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa")),
                 folder.readFile(QStringLiteral("cons/rt/2/game.rfa")));
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), stored);
        QVERIFY(program.module.form3().Image3->isVisibleTo(&program.module.form3()));

        TestFolder lower;
        TestFolder::Row lowerRow = lower.gameRow();
        lowerRow.secure = QStringLiteral("yes");
        lower.writeSettings(lowerRow);
        TestProgram other(lower);
        other.start();
        QVERIFY(!other.main().Check4->isChecked());
        QVERIFY(other.copier.sources.isEmpty());
    }

    void firstStartAsksForTheInstallDirectory()
    {
        TestFolder folder; // the delivered file: no path yet
        TestProgram program(folder);
        bool checked = false;
        program.whenChooserShows([&](Form4& chooser) {
            QVERIFY(!chooser.Command2->isVisible());
            QVERIFY(program.module.form1().isVisible());
            QVERIFY(!program.module.form2().isVisible());
            chooser.Dir1->setPath(folder.game());
            chooser.Command1->click();
            checked = true;
        });
        program.start();
        QVERIFY(checked);
        QVERIFY(program.main().isVisible());
        QCOMPARE(program.module.state.settings.path, folder.game());
        QCOMPARE(program.module.state.modsPath(), folder.game() + QStringLiteral("/mods/"));
        const SettingsRecord expected{QStringLiteral("Pure"), QStringLiteral("no"),
                                      QStringLiteral("no"),   QStringLiteral("1"),
                                      QStringLiteral("1"),    QStringLiteral("No"),
                                      folder.game()};
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{expected});
        QCOMPARE(program.tray.operations, QStringList{QStringLiteral("add")});
        // Setup later shows the window as it was left: no Cancel, the path.
        program.main().msetup->trigger();
        QVERIFY(program.module.form4().isVisible());
        QVERIFY(!program.module.form4().Command2->isVisible());
        QCOMPARE(program.module.form4().Label1->text(), folder.game());
    }

    void aNullFieldCostsNoOtherStoredValue()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.rtr.reset();
        row.sw = QStringLiteral("yes");
        row.cr = QStringLiteral("9");
        folder.writeSettings(row);
        TestProgram program(folder);
        program.whenChooserShows([&](Form4& chooser) { chooser.Command1->click(); });
        program.start();
        const SettingsRecord saved = folder.storedRows().value(0);
        QCOMPARE(saved.sw, QStringLiteral("yes"));
        QCOMPARE(saved.cr, QStringLiteral("9"));
        QCOMPARE(saved.path, folder.path()); // the chooser starts at the working folder
        QCOMPARE(program.module.state.settings.rtr, QStringLiteral("yes")); // ticked, as any non-"no"
    }

    void closingTheFirstChooserEndsTheProgram()
    {
        TestFolder folder;
        const QByteArray stored = Checks::bytesOf(folder.databaseFile());
        TestProgram program(folder);
        program.whenChooserShows([&](Form4& chooser) { chooser.close(); });
        program.start();
        QCOMPARE(program.ends, 1);
        QCOMPARE(program.sink.messages,
                 QStringList{QStringLiteral(
                     "I need a install path to run, so please reopen me and choose your path")});
        QVERIFY(!program.main().isVisible());
        QVERIFY(program.tray.operations.isEmpty());
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), stored);
    }

    void aMissingSettingsFileIsReportedAndNeverCreated()
    {
        TestFolder folder;
        QFile::remove(folder.databaseFile());
        TestProgram program(folder);
        program.start();
        QCOMPARE(program.sink.messages,
                 QStringList{ErrorReport::text(QStringLiteral("load"), FailureNumber::DatabaseMissing)});
        Form2& main = program.main();
        QVERIFY(main.isVisible());
        QCOMPARE(main.Label4->text(), QStringLiteral("unpure"));
        QCOMPARE(program.module.state.loadingFlag, QStringLiteral("1"));
        QVERIFY(program.tray.operations.isEmpty());
        // Without a tray icon, minimize stays a plain minimize.
        main.showMinimized();
        QVERIFY(main.isVisible());
        main.close();
        QCOMPARE(program.ends, 1);
        QCOMPARE(program.sink.last(),
                 ErrorReport::text(QStringLiteral("unload"), FailureNumber::DatabaseMissing));
        QVERIFY(!QFile::exists(folder.databaseFile()));
    }

    // Each broken file is made here, then the program starts on it and ends.
    void brokenFilesAreReportedAndLeftAsTheyWere()
    {
        const auto overwrite = [](const QByteArray& bytes) {
            return [bytes](TestFolder& folder) { Checks::writeBytes(folder.databaseFile(), bytes); };
        };
        const auto alter = [](const char* sql) {
            return [sql](TestFolder& folder) { Checks::exec(folder.databaseFile(), sql); };
        };
        const auto cut = [](qsizetype from, qsizetype size, char with) {
            return [=](TestFolder& folder) {
                QByteArray bytes = Checks::bytesOf(folder.databaseFile());
                bytes = with ? bytes.replace(from, size, QByteArray(size, with)) : bytes.left(from);
                Checks::writeBytes(folder.databaseFile(), bytes);
            };
        };
        QRandomGenerator seeded(1942);
        QByteArray noise(8192, 0);
        seeded.fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        const struct {
            const char* name;
            std::function<void(TestFolder&)> make;
            int number; // 0: it loads
        } cases[] = {
            {"random bytes", overwrite(noise), FailureNumber::NotADatabase},
            {"zero bytes", overwrite(QByteArray()), FailureNumber::TableMissing},
            {"a foreign file", overwrite("SQLite format 3" + QByteArray(5000, '\x7f')),
             FailureNumber::NotADatabase},
            {"header only", cut(100, 0, 0), FailureNumber::NotADatabase},
            {"truncated", cut(4096, 0, 0), FailureNumber::NotADatabase},
            {"bytes flipped in the table", cut(4096 + 8, 192, char(0xA5)),
             FailureNumber::NotADatabase},
            {"a folder", [](TestFolder& folder) {
                 QFile::remove(folder.databaseFile());
                 QDir().mkdir(folder.databaseFile());
             }, FailureNumber::NotADatabase},
            {"a column missing", alter("ALTER TABLE Options DROP COLUMN sw"),
             FailureNumber::FieldMissing},
            {"a blob in a text field", alter("UPDATE Options SET status = x'00ff'"),
             FailureNumber::TypeMismatch},
            {"a stray journal", [&](TestFolder& folder) {
                 Checks::writeBytes(folder.databaseFile() + QStringLiteral("-journal"), noise);
             }, 0},
        };
        for (const auto& broken : cases) {
            TestFolder folder;
            folder.writeSettings(folder.gameRow());
            broken.make(folder);
            const QByteArray stored = Checks::bytesOf(folder.databaseFile());
            const QList<SettingsRecord> rows = folder.storedRows();
            TestProgram program(folder);
            program.start();
            const QString report =
                broken.number ? ErrorReport::text(QStringLiteral("load"), broken.number) : QString();
            QVERIFY2(program.sink.messages.value(0) == report, broken.name);
            QVERIFY2(Checks::bytesOf(folder.databaseFile()) == stored, broken.name);
            program.main().close();
            QCOMPARE(program.ends, 1);
            if (broken.number)
                QVERIFY2(Checks::bytesOf(folder.databaseFile()) == stored, broken.name);
            QVERIFY2(folder.storedRows() == rows, broken.name);
        }
    }

    void aFileLockedAtStartKeepsItsRowOnClose()
    {
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.status = QStringLiteral("Grimtide");
        folder.writeSettings(row);
        const QList<SettingsRecord> stored = folder.storedRows();
        sqlite3* other = nullptr;
        sqlite3_open(folder.databaseFile().toUtf8().constData(), &other);
        sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        TestProgram program(folder);
        program.start();
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        QCOMPARE(program.sink.messages.value(0),
                 ErrorReport::text(QStringLiteral("load"), FailureNumber::DatabaseLocked));
        program.main().close();
        QCOMPARE(program.ends, 1);
        QCOMPARE(folder.storedRows(), stored);
    }

    void closeSavesEverythingRemovesTheIconAndEnds()
    {
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        TestProgram program(folder);
        program.start();
        program.module.state.settings.cr = QStringLiteral("5"); // a pick not saved yet
        program.main().Check2->click();                    // the player ticks SW
        QCOMPARE(folder.storedRows().value(0).sw, QStringLiteral("yes"));
        program.main().close();
        QCOMPARE(program.ends, 1);
        QCOMPARE(program.tray.operations.last(), QStringLiteral("delete"));
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{program.module.state.settings});
        QCOMPARE(folder.storedRows().value(0).cr, QStringLiteral("5"));
        QVERIFY(!program.module.form3Holder().exists());
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
