#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/DirList.h"
#include "support/Checks.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>
#include <QRandomGenerator>

#include <sqlite3.h>

namespace {

QString loadReport(int number)
{
    return ErrorReport::text(QStringLiteral("load"), number);
}

// The program in a new folder, started on one settings row that points at
// the folder's game; `stored` is the file as it was before the start.
struct Started {
    explicit Started(TestFolder::Row row)
    {
        row.path = row.path.value_or(QDir::toNativeSeparators(folder.game()));
        folder.writeSettings(row);
        stored = Checks::bytesOf(folder.databaseFile());
        program.start();
    }
    TestFolder folder;
    TestProgram program{folder};
    QByteArray stored;
    Form2& main() { return program.main(); }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void theRowSetsTheControlsAndNothingIsSaved_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("rtr");
        QTest::addColumn<QString>("sw");
        QTest::addColumn<bool>("grimtide");
        QTest::addColumn<QString>("rtrShown"); // packs other than "no" start ticked, as "yes"
        QTest::addColumn<QString>("swShown");
        QTest::newRow("Pure") << QStringLiteral("Pure") << QStringLiteral("yes") << QStringLiteral("no")
                              << false << QStringLiteral("yes") << QStringLiteral("no");
        QTest::newRow("Grimtide") << QStringLiteral("Grimtide") << QStringLiteral("No") << QString()
                                  << true << QStringLiteral("yes") << QStringLiteral("yes");
        QTest::newRow("lower case pure") << QStringLiteral("pure") << QStringLiteral("no")
                                         << QStringLiteral("no") << true << QStringLiteral("no")
                                         << QStringLiteral("no");
        QTest::newRow("empty") << QString() << QStringLiteral("no") << QStringLiteral("no") << true
                               << QStringLiteral("no") << QStringLiteral("no");
    }

    void theRowSetsTheControlsAndNothingIsSaved()
    {
        QFETCH(QString, status);
        QFETCH(QString, rtr);
        QFETCH(QString, sw);
        QFETCH(bool, grimtide);
        QFETCH(QString, rtrShown);
        QFETCH(QString, swShown);
        // Only "Yes" turns secure mode on.
        Started s({.status = status, .rtr = rtr, .sw = sw, .secure = QStringLiteral("yes")});
        Module1& m = s.program.module;
        QVERIFY(s.main().isVisible());
        QVERIFY(!m.form1().isVisible());
        QCOMPARE(s.main().Option1->isChecked(), !grimtide);
        QCOMPARE(s.main().Option2->isChecked(), grimtide);
        QCOMPARE(s.main().Label4->text(), status);
        QCOMPARE(s.main().mpoppure->isVisible(), grimtide);
        QCOMPARE(s.main().mpopunpure->isVisible(), !grimtide);
        QCOMPARE(s.program.tray.tip, grimtide ? QStringLiteral("unpure") : QStringLiteral("pure"));
        QCOMPARE(s.main().Check1->isChecked(), rtrShown == QStringLiteral("yes"));
        QCOMPARE(s.main().Check2->isChecked(), swShown == QStringLiteral("yes"));
        QCOMPARE(s.main().Label7->text(), rtrShown);
        QCOMPARE(s.main().Label8->text(), swShown);
        QVERIFY(!s.main().Check4->isChecked());
        QCOMPARE(m.state.settings.status, status);
        QCOMPARE(m.state.settings.rtr, rtrShown);
        QCOMPARE(m.state.settings.sw, swShown);
        QCOMPARE(m.state.loadingFlag, QStringLiteral("0"));
        QCOMPARE(m.state.modsPath(), s.folder.game() + QStringLiteral("/mods/"));
        QVERIFY(s.program.sink.messages.isEmpty());
        QVERIFY(s.program.copier.sources.isEmpty());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), s.stored);
        // The chooser came into being, hidden, for its picture lists.
        QVERIFY(m.form3Holder().exists());
        QVERIFY(!m.form3().isVisible());
    }

    void secureStartInstallsThePinnedArchivesWithoutSaving()
    {
        Started s({.cr = QStringLiteral("7"), .secure = QStringLiteral("Yes")});
        QVERIFY(s.main().Check4->isChecked());
        QCOMPARE(s.program.copier.sources.size(), 2);
        QCOMPARE(s.folder.readFile(QStringLiteral("game/mods/gtide_base/archives/menu.rfa")),
                 s.folder.readFile(QStringLiteral("cons/cr/12/menu.rfa")));
        QCOMPARE(s.folder.readFile(QStringLiteral("game/mods/gtide_base/archives/bf1942/game.rfa")),
                 s.folder.readFile(QStringLiteral("cons/rt/2/game.rfa")));
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), s.stored);
        QVERIFY(s.program.module.form3().Image3->isVisibleTo(&s.program.module.form3()));
    }

    void firstStartAsksForTheInstallDirectory()
    {
        TestFolder folder; // the delivered file: no path yet
        TestProgram program(folder);
        Module1& m = program.module;
        bool checked = false;
        program.whenChooserShows([&](Form4& chooser) {
            QVERIFY(!chooser.Command2->isVisible());
            QVERIFY(m.form1().isVisible());
            QVERIFY(!m.form2().isVisible());
            chooser.Dir1->setPath(folder.game());
            chooser.Command1->click();
            checked = true;
        });
        program.start();
        QVERIFY(checked);
        QVERIFY(program.main().isVisible());
        QCOMPARE(m.state.modsPath(), folder.game() + QStringLiteral("/mods/"));
        const SettingsRecord expected{QStringLiteral("Pure"), QStringLiteral("no"), QStringLiteral("no"),
                                      QStringLiteral("1"),    QStringLiteral("1"),  QStringLiteral("No"),
                                      folder.game()};
        QCOMPARE(m.state.settings, expected);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{expected});
        QCOMPARE(program.tray.operations, QStringList{QStringLiteral("add")});
        // Setup later shows the window as it was left: no Cancel, the path.
        program.main().msetup->trigger();
        QVERIFY(m.form4().isVisible());
        QVERIFY(!m.form4().Command2->isVisible());
        QCOMPARE(m.form4().Label1->text(), folder.game());
    }

    void aNullFieldCostsNoOtherStoredValue()
    {
        TestFolder folder;
        folder.writeSettings({.rtr = std::nullopt, .sw = QStringLiteral("yes"), .cr = QStringLiteral("9")});
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
                 QStringList{QStringLiteral("I need a install path to run, so please reopen me and choose your path")});
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
        QCOMPARE(program.sink.messages, QStringList{loadReport(FailureNumber::DatabaseMissing)});
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
        QCOMPARE(program.sink.last(), ErrorReport::text(QStringLiteral("unload"), FailureNumber::DatabaseMissing));
        QVERIFY(!QFile::exists(folder.databaseFile()));
    }

    // Each broken file is made here, then the program starts on it and ends.
    void brokenFilesAreReportedAndLeftAsTheyWere()
    {
        QByteArray noise(8192, 0);
        QRandomGenerator(1942).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
        const auto cut = [](qsizetype from, qsizetype size, char with) {
            return [=](const QString& db) {
                const QByteArray bytes = Checks::bytesOf(db);
                Checks::writeBytes(db, with ? QByteArray(bytes).replace(from, size, QByteArray(size, with))
                                            : bytes.left(from));
            };
        };
        const struct {
            const char* name;
            std::function<void(const QString& db)> make;
            int number; // 0: it loads
        } cases[] = {
            {"random bytes", [&](const QString& db) { Checks::writeBytes(db, noise); }, FailureNumber::NotADatabase},
            {"zero bytes", [](const QString& db) { Checks::writeBytes(db, {}); }, FailureNumber::TableMissing},
            {"a foreign file",
             [](const QString& db) { Checks::writeBytes(db, "SQLite format 3" + QByteArray(5000, '\x7f')); },
             FailureNumber::NotADatabase},
            {"header only", cut(100, 0, 0), FailureNumber::NotADatabase},
            {"truncated", cut(4096, 0, 0), FailureNumber::NotADatabase},
            {"bytes flipped in the table", cut(4096 + 8, 192, char(0xA5)), FailureNumber::NotADatabase},
            {"a folder", [](const QString& db) { QFile::remove(db), QDir().mkdir(db); }, FailureNumber::NotADatabase},
            {"a column missing", [](const QString& db) { Checks::exec(db, "ALTER TABLE Options DROP COLUMN sw"); },
             FailureNumber::FieldMissing},
            {"a blob in a text field",
             [](const QString& db) { Checks::exec(db, "UPDATE Options SET status = x'00ff'"); },
             FailureNumber::TypeMismatch},
            {"a stray journal",
             [&](const QString& db) { Checks::writeBytes(db + QStringLiteral("-journal"), noise); }, 0},
        };
        for (const auto& broken : cases) {
            TestFolder folder;
            folder.writeSettings(folder.gameRow());
            broken.make(folder.databaseFile());
            const QByteArray stored = Checks::bytesOf(folder.databaseFile());
            const QList<SettingsRecord> rows = folder.storedRows();
            TestProgram program(folder);
            program.start();
            QVERIFY2(program.sink.messages.value(0) == (broken.number ? loadReport(broken.number) : QString()),
                     broken.name);
            QVERIFY2(Checks::bytesOf(folder.databaseFile()) == stored, broken.name);
            program.main().close();
            QCOMPARE(program.ends, 1);
            if (broken.number) // a broken file is never saved over
                QVERIFY2(Checks::bytesOf(folder.databaseFile()) == stored, broken.name);
            QVERIFY2(folder.storedRows() == rows, broken.name);
        }
    }

    void aFileLockedAtStartKeepsItsRowOnClose()
    {
        TestFolder folder;
        folder.writeSettings({.status = QStringLiteral("Grimtide"), .path = folder.game()});
        const QList<SettingsRecord> stored = folder.storedRows();
        sqlite3* other = nullptr;
        sqlite3_open(folder.databaseFile().toUtf8().constData(), &other);
        sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
        TestProgram program(folder);
        program.start();
        sqlite3_close(other); // rolls the empty transaction back
        QCOMPARE(program.sink.messages.value(0), loadReport(FailureNumber::DatabaseLocked));
        program.main().close();
        QCOMPARE(program.ends, 1);
        QCOMPARE(folder.storedRows(), stored);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
