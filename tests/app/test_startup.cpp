#include "core/platform/NativeFileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/app/Form1.h"
#include "gui/app/Form2.h"
#include "gui/crosshair/Form3.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/DirList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QRadioButton>

#include <sqlite3.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void theRowSetsTheControlsAndNothingIsSaved()
    {
        const struct {
            QString status, rtr, sw, secure; // only "Yes" turns secure mode on
            bool grimtide;                   // and, in these rows, secure
            QString packs;                   // as shown: anything but "no" is ticked, as "yes"
        } rows[] = {{u"Pure"_s, u"yes"_s, u"no"_s, u"yes"_s, false, u"yes no"_s},
                    {u"Grimtide"_s, u"No"_s, u""_s, u"Yes"_s, true, u"yes yes"_s}};
        for (const auto& [status, rtr, sw, secure, grimtide, packs] : rows) {
            TestProgram s({.status = status, .rtr = rtr, .sw = sw, .cr = u"7"_s, .secure = secure},
                          TestProgram::Start::Later);
            const QByteArray delivered = Checks::bytesOf(s.folder.databaseFile());
            s.start();
            Module1& m = s.module;
            const Form2& main = s.main();
            QVERIFY(main.isVisible() && !m.form1().isVisible());
            QCOMPARE((QList<bool>{main.Option2->isChecked(), !main.Option1->isChecked(),
                                  main.mpoppure->isVisible(), !main.mpopunpure->isVisible(),
                                  main.Check4->isChecked()}),
                     QList<bool>(5, grimtide));
            QCOMPARE(main.Label4->text(), status);
            QCOMPARE(s.tray.tip, grimtide ? u"unpure"_s : u"pure"_s);
            QCOMPARE(main.Label7->text() + u' ' + main.Label8->text(), packs);
            QCOMPARE(
                (QList<bool>{main.Check1->isChecked(), main.Check2->isChecked()}),
                (QList<bool>{main.Label7->text() == u"yes"_s, main.Label8->text() == u"yes"_s}));
            QVERIFY(!m.state.isLoading() && s.sink.messages.isEmpty());
            QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
            QVERIFY(!m.form3Holder().exists()); // made when first opened, in its appearance
            QCOMPARE(s.copier.sources.join(u' '),
                     grimtide ? u"cons/cr/12/menu.rfa cons/rt/2/game.rfa"_s : QString());
            m.form3().close(); // made anew after its close box, in its first layout
            QVERIFY(m.form3().Command1->isVisibleTo(&m.form3()));
        }
    }

    // A row with an empty field (the delivered one has no path) asks for the
    // install directory; the field costs no other stored value.
    void firstStartAsksForTheInstallDirectory()
    {
        TestProgram s({.rtr = std::nullopt, .sw = u"yes"_s, .cr = u"9"_s},
                      TestProgram::Start::First);
        Module1& m = s.module;
        QDir mods(s.folder.game() + u"/mods"_s);
        QVERIFY(mods.rename(u"xpack1"_s, u"XPack1"_s) && mods.rmdir(u"xpack2"_s));
        s.whenChooserShows([&](Form4& chooser) {
            QVERIFY(!chooser.Command2->isVisible() && m.form1().isVisible()
                    && !m.form2().isVisible());
            QCOMPARE(chooser.Dir1->path(), QDir::toNativeSeparators(s.folder.path()));
            chooser.Dir1->setPath(s.folder.game());
            chooser.Command1->click();
        });
        s.start();
        QVERIFY(s.main().isVisible() && s.main().Check1->isChecked()
                && !s.main().Check2->isChecked());
        // The packs follow the game's folders: Road to Rome's there, whatever its case.
        const SettingsRecord expected{u"Pure"_s, u"yes"_s, u"no"_s,        u"9"_s,
                                      u"1"_s,    u"No"_s,  s.folder.game()};
        QCOMPARE(s.folder.storedRows(), QList<SettingsRecord>{expected});
        QCOMPARE(m.state.settings, expected);
        QCOMPARE(s.tray.operations, QStringList{u"add"_s});
        s.main().msetup->trigger(); // later, as it was left: no Cancel, the path
        QVERIFY(m.form4().isVisible() && !m.form4().Command2->isVisible());
        QCOMPARE(m.form4().Label1->text(), s.folder.game());
    }

    void closingTheFirstChooserEndsTheProgram()
    {
        TestProgram s({}, TestProgram::Start::First);
        const QByteArray delivered = Checks::bytesOf(s.folder.databaseFile());
        s.whenChooserShows([&](Form4& chooser) { chooser.close(); });
        s.start();
        QCOMPARE(s.sink.messages,
                 QStringList{
                     u"I need a install path to run, so please reopen me and choose your path"_s});
        QVERIFY(s.ends == 1 && !s.main().isVisible() && s.tray.operations.isEmpty());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
    }

    // Each broken file is made here, then the program starts on it and ends.
    void brokenFilesAreReportedAndLeftAsTheyWere()
    {
        const QByteArray noise(8192, 'x');
        sqlite3* locker = nullptr; // another program's exclusive transaction
        const auto write = [](const QByteArray& bytes) {
            return [=](const QString& db) { Checks::writeBytes(db, bytes); };
        };
        const struct {
            const char* name;
            std::function<void(const QString& db)> make;
            int number; // 0: it loads
        } cases[] = {
            {"missing", [](const QString& db) { QFile::remove(db); },
             FailureNumber::DatabaseMissing},
            {"random bytes", write(noise), FailureNumber::NotADatabase},
            {"zero bytes", write({}), FailureNumber::TableMissing},
            {"bytes flipped in the table",
             [](const QString& db) {
                 Checks::writeBytes(
                     db, Checks::bytesOf(db).replace(4104, 192, QByteArray(192, '\xA5')));
             },
             FailureNumber::NotADatabase},
            {"a folder", [](const QString& db) { QFile::remove(db), QDir().mkdir(db); },
             FailureNumber::NotADatabase},
            {"a column missing",
             [](const QString& db) { Checks::exec(db, "ALTER TABLE Options DROP COLUMN sw"); },
             FailureNumber::FieldMissing},
            {"locked",
             [&](const QString& db) {
                 sqlite3_open(db.toUtf8().constData(), &locker),
                     sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
             },
             FailureNumber::DatabaseLocked},
            {"a stray journal",
             [&](const QString& db) { Checks::writeBytes(db + u"-journal"_s, noise); }, 0},
        };
        for (const auto& broken : cases) {
            TestProgram s({}, TestProgram::Start::Later);
            const QString db = s.folder.databaseFile();
            const QList<SettingsRecord> rows = s.folder.storedRows();
            broken.make(db);
            const QByteArray stored = Checks::bytesOf(db);
            const bool existed = QFileInfo::exists(db);
            s.start();
            sqlite3_close(std::exchange(locker, nullptr)); // rolls the empty transaction back
            QVERIFY2(s.main().isVisible() && s.tray.operations.isEmpty() == bool(broken.number),
                     broken.name);
            QCOMPARE(s.module.state.isLoading(), bool(broken.number));
            s.main().close();
            QCOMPARE(s.ends, 1);
            QCOMPARE(s.sink.messages,
                     (broken.number ? QStringList{Checks::report(u"load"_s, broken.number, db),
                                                  Checks::report(u"unload"_s, broken.number, db)}
                                    : QStringList()));
            if (broken.number) { // a broken file is never saved over, nor made anew
                QVERIFY2(Checks::bytesOf(db) == stored && QFileInfo::exists(db) == existed,
                         broken.name);
                QCOMPARE(s.main().Label4->text(), u"unpure"_s);
            } else {
                QCOMPARE(s.folder.storedRows(), rows);
            }
        }
    }

    // Every name the program reads at a start (in Secure Mode, which installs
    // its archives) and at its close: a message naming the place, or nothing.
    void nothingPlantedWhereAFileIsReadHangsTheStartOrTheClose_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const char* name :
             {"gtdb.inf", "gtdb.inf-journal", "gtdb.inf.lock", "game-files.journal",
              "kept-game-files", "cons/cr/12/menu.rfa", "game/mods/gtide_base/archives/menu.rfa"})
            for (const char* kind : {"pipe", "socket", "/dev/zero", "folder"})
                QTest::addRow("%s at %s", kind, name)
                    << QString::fromLatin1(name) << QString::fromLatin1(kind);
    }

    void nothingPlantedWhereAFileIsReadHangsTheStartOrTheClose()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        TestProgram s({.secure = u"Yes"_s}, TestProgram::Start::Later);
        const QString planted = s.folder.file(name);
        Checks::plant(kind, planted);
        const auto what = NativeFileSystem::identity(planted);
        ::alarm(30); // a hang ends the test here, after the last row that passed
        SingleInstance guard(s.folder.path());
        s.start();
        s.main().close();
        ::alarm(0);
        QVERIFY(guard.isFirst() && s.ends == 1);
        for (const QString& message : std::as_const(s.sink.messages))
            QVERIFY2(message.contains(QDir::toNativeSeparators(planted)), qPrintable(message));
        QVERIFY(NativeFileSystem::identity(planted) == what);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
