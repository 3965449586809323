#include "core/platform/NativeFileSystem.h"
#include "core/platform/SingleInstance.h"
#include "gui/widgets/DirList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

bool okShown(QWidget& chooser)
{
    return chooser.findChild<QPushButton*>(u"Command1"_s)->isVisibleTo(&chooser);
}

} // namespace

Q_DECLARE_METATYPE(TestFolder::Row)

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void theRowSetsTheControlsAndNothingIsSaved_data()
    {
        QTest::addColumn<TestFolder::Row>("row");
        QTest::addColumn<bool>("grimtideColumn"); // only "Pure" is pure
        QTest::addColumn<QString>("packs");       // as shown: anything but "no" is "yes"
        QTest::addColumn<bool>("secureTicked");   // only "Yes" ticks it
        using Row = TestFolder::Row;
        QTest::newRow("Pure") << Row{.status = u"Pure"_s, .rtr = u"yes"_s, .secure = u"yes"_s}
                              << false << u"yes no"_s << false;
        QTest::newRow("Grimtide") << Row{.status = u"Grimtide"_s,
                                         .rtr = u"No"_s,
                                         .sw = u""_s,
                                         .secure = u"Yes"_s}
                                  << true << u"yes yes"_s << true;
        QTest::newRow("pure in lower case")
            << Row{.status = u"pure"_s} << true << u"no no"_s << false;
    }

    void theRowSetsTheControlsAndNothingIsSaved()
    {
        QFETCH(TestFolder::Row, row);
        QFETCH(bool, grimtideColumn);
        QFETCH(QString, packs);
        QFETCH(bool, secureTicked);
        TestProgram s(row, TestProgram::Start::Later);
        const QByteArray delivered = Checks::bytesOf(s.folder.databaseFile());
        s.start();
        QVERIFY(s.main().isVisible() && !TestProgram::window("Form1")->isVisible());
        QCOMPARE(s.inMain<QLabel>("Label4")->text(), *row.status);
        QCOMPARE(s.inMain<QRadioButton>("Option2")->isChecked(), grimtideColumn);
        QCOMPARE(s.inMain<QAction>("mpoppure")->isVisible(), grimtideColumn);
        QCOMPARE(s.inMain<QAction>("mpopunpure")->isVisible(), !grimtideColumn);
        QCOMPARE(s.tray.tip, grimtideColumn ? u"unpure"_s : u"pure"_s);
        QCOMPARE(s.inMain<QLabel>("Label7")->text() + u' ' + s.inMain<QLabel>("Label8")->text(),
                 packs);
        QCOMPARE(s.inMain<QCheckBox>("Check1")->isChecked(), packs.startsWith(u"yes"_s));
        QCOMPARE(s.inMain<QCheckBox>("Check2")->isChecked(), packs.endsWith(u"yes"_s));
        QCOMPARE(s.inMain<QCheckBox>("Check4")->isChecked(), secureTicked);
        // A start in Secure Mode puts its pair in place again.
        QCOMPARE(s.copier.sources.join(u' '),
                 secureTicked ? u"cons/cr/12/menu.rfa cons/rt/2/game.rfa"_s : QString());
        QCOMPARE(s.messages(), QStringList());
        QVERIFY(s.module.startup().hasLoaded());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
        QVERIFY(!TestProgram::window("Form3")); // made when first opened, in the mode it finds
        s.withChooserOpen([&](QWidget& chooser) {
            QCOMPARE(okShown(chooser), !secureTicked);
            chooser.close();
        });
        s.withChooserOpen([](QWidget& chooser) { QVERIFY(okShown(chooser)); }); // made anew
    }

    // The delivered row has no path; an empty field costs no other stored value.
    void firstStartAsksForTheInstallDirectory()
    {
        TestProgram s({.rtr = std::nullopt, .sw = u"yes"_s, .cr = u"9"_s},
                      TestProgram::Start::First);
        QDir mods(s.folder.game() + u"/mods"_s);
        QVERIFY(mods.rename(u"xpack1"_s, u"XPack1"_s) && mods.rmdir(u"xpack2"_s));
        s.whenDirectoryChooserShows([&](QWidget& chooser) {
            QVERIFY(!chooser.findChild<QPushButton*>(u"Command2"_s)->isVisible());
            QVERIFY(TestProgram::window("Form1")->isVisible());
            QVERIFY(!TestProgram::window("Form2")->isVisible());
            DirList* list = chooser.findChild<DirList*>(u"Dir1"_s);
            QCOMPARE(list->path(), s.folder.path());
            list->setPath(s.folder.game());
            chooser.findChild<QPushButton*>(u"Command1"_s)->click();
        });
        s.start();
        QVERIFY(s.main().isVisible());
        // The packs follow the game's folders: Road to Rome's is there, whatever its case.
        QVERIFY(s.inMain<QCheckBox>("Check1")->isChecked());
        QVERIFY(!s.inMain<QCheckBox>("Check2")->isChecked());
        const SettingsRecord expected{u"Pure"_s, u"yes"_s, u"no"_s,        u"9"_s,
                                      u"1"_s,    u"No"_s,  s.folder.game()};
        QCOMPARE(s.folder.storedRows(), QList<SettingsRecord>{expected});
        QCOMPARE(s.settings(), expected);
        QCOMPARE(s.tray.operations, QStringList{u"add"_s});
        s.inMain<QAction>("msetup")->trigger(); // later, as it was left: no Cancel, the path
        QVERIFY(!TestProgram::control<QPushButton>("Form4", "Command2")->isVisible());
        QCOMPARE(TestProgram::control<QLabel>("Form4", "Label1")->text(), s.folder.game());
    }

    void closingTheFirstChooserEndsTheProgram()
    {
        TestProgram s({}, TestProgram::Start::First);
        const QByteArray delivered = Checks::bytesOf(s.folder.databaseFile());
        s.whenDirectoryChooserShows([](QWidget& chooser) { chooser.close(); });
        s.start();
        QCOMPARE(s.messages(),
                 QStringList{
                     u"I need a install path to run, so please reopen me and choose your path"_s});
        QCOMPARE(s.ends, 1);
        QVERIFY(!s.main().isVisible());
        QCOMPARE(s.tray.operations, QStringList());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
    }

    void brokenFilesAreReportedAndLeftAsTheyWere_data()
    {
        QTest::addColumn<std::function<void(const QString&)>>("make");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("sentence"); // %1: the file
        using Make = std::function<void(const QString&)>;
        const auto write = [](const QByteArray& bytes) {
            return Make([=](const QString& db) { Checks::writeBytes(db, bytes); });
        };
        const QString notADatabase = u"%1 is not a settings database this program can read."_s;
        QTest::newRow("missing") << Make([](const QString& db) { QFile::remove(db); }) << 3024
                                 << u"The settings file %1 does not exist."_s;
        QTest::newRow("random bytes") << write(QByteArray(8192, 'x')) << 3343 << notADatabase;
        QTest::newRow("zero bytes") << write({}) << 3078 << u"%1 has no table \"Options\"."_s;
        QTest::newRow("bytes flipped in the table") << Make([](const QString& db) {
            Checks::writeBytes(db, Checks::bytesOf(db).replace(4104, 192, QByteArray(192, '\xA5')));
        }) << 3343 << notADatabase;
        QTest::newRow("a column missing") << Make([](const QString& db) {
            Checks::exec(db, "ALTER TABLE Options DROP COLUMN sw");
        }) << 3265 << u"The table \"Options\" in %1 lacks one of its seven fields."_s;
    }

    // The window shows its first captions; the file is never written.
    void brokenFilesAreReportedAndLeftAsTheyWere()
    {
        QFETCH(std::function<void(const QString&)>, make);
        QFETCH(int, number);
        QFETCH(QString, sentence);
        TestProgram s({}, TestProgram::Start::Later);
        const QString db = s.folder.databaseFile();
        make(db);
        const QByteArray broken = Checks::bytesOf(db);
        const bool existed = QFileInfo::exists(db);
        s.start();
        QVERIFY(s.main().isVisible() && !s.module.startup().hasLoaded());
        QCOMPARE(s.tray.operations, QStringList());
        QCOMPARE(s.inMain<QLabel>("Label4")->text(), u"unpure"_s);
        s.main().close();
        QCOMPARE(s.ends, 1);
        const QString report = u"We have a problem, Please report this error = %1%2 to: "
                               "" GRIMTIDE_CONTACT "\n"_s
                               + sentence.arg(db);
        QCOMPARE(s.messages(), (QStringList{report.arg(u"load"_s).arg(number),
                                            report.arg(u"unload"_s).arg(number)}));
        QCOMPARE(Checks::bytesOf(db), broken);
        QCOMPARE(QFileInfo::exists(db), existed);
    }

    // Every name read at a start in Secure Mode and at the close: a message naming the place,
    // or nothing. A stale journal of gtdb.inf is SQLite's to roll back.
    void nothingPlantedWhereAFileIsReadHangsTheStartOrTheClose_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const char* name :
             {"gtdb.inf", "gtdb.inf-journal", "gtdb.inf.lock", "game-files.journal",
              "kept-game-files", "cons/cr/12/menu.rfa", "game/mods/gtide_base/archives/menu.rfa"})
            for (const char* kind : {"pipe", "/dev/zero", "folder"})
                QTest::addRow("%s at %s", kind, name)
                    << QString::fromLatin1(name) << QString::fromLatin1(kind);
        QTest::newRow("noise at gtdb.inf-journal") << u"gtdb.inf-journal"_s << u"noise"_s;
    }

    void nothingPlantedWhereAFileIsReadHangsTheStartOrTheClose()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        TestProgram s({.secure = u"Yes"_s}, TestProgram::Start::Later);
        const QString planted = s.folder.file(name);
        if (kind == u"noise")
            Checks::writeBytes(planted, QByteArray(8192, 'x'));
        else
            Checks::plant(kind, planted);
        const auto what = NativeFileSystem::identity(planted);
        ::alarm(30); // a hang ends the test here, after the last row that passed
        SingleInstance guard(s.folder.path());
        s.start();
        s.main().close();
        ::alarm(0);
        QVERIFY(guard.isFirst());
        QCOMPARE(s.ends, 1);
        for (const QString& message : std::as_const(s.sink.messages))
            QVERIFY2(message.contains(QDir::toNativeSeparators(planted)), qPrintable(message));
        QVERIFY(kind != u"noise" || (s.module.startup().hasLoaded() && s.sink.messages.isEmpty()));
        // A journal that is no plain file is moved aside whole, for the player to see.
        const bool setAside = name == u"game-files.journal"_s;
        if (kind != u"noise") // SQLite's to roll back or remove
            QVERIFY(NativeFileSystem::identity(setAside ? planted + u".rejected"_s : planted)
                    == what);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
