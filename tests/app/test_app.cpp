#include "core/app/GameRestore.h"
#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "core/platform/NativeFileSystem.h"
#include "gui/app/QtTrayBackend.h"
#include "gui/widgets/DirList.h"
#include "import/ImportFixture.h"
#include "support/Checks.h"
#include "support/RunningProgram.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QToolButton>

#include <csignal>
#include <cstdio>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Where the label's text ends when it has room to spare: right of its last dark pixel.
int textEnd(QLabel& label)
{
    const QSize own = label.size();
    label.resize(own.width() * 2, own.height());
    const QImage drawn = label.grab().toImage();
    label.resize(own);
    int end = 0;
    for (int x = 0; x < drawn.width(); ++x)
        for (int y = 0; y < drawn.height(); ++y)
            end = qGray(drawn.pixel(x, y)) < qGray(drawn.pixel(0, 0)) / 2 ? x + 1 : end;
    return label.x() + end;
}

const QString childRole = u"--start-and-wait"_s, noOwnFolder = u"no runtime folder of one's own"_s;

QString ownRuntimeFolder()
{
    return QDir::tempPath() + u"/grimtide-switch-"_s + QString::number(::geteuid());
}

void plantRuntimeFolder(mode_t mode, uid_t owner = ::geteuid())
{
    const QByteArray folder = QFile::encodeName(ownRuntimeFolder());
    ::mkdir(folder.constData(), mode);
    ::chmod(folder.constData(), mode);
    if (::chown(folder.constData(), owner, owner) != 0) // another owner needs root
        QWARN("the runtime folder keeps its owner");
}

// What a crash or another program or user may leave at gtdb.inf.lock or the runtime folder.
const QMap<QString, std::function<void(const QString& lock)>> leftAtTheLock{
    {u"pipe"_s, [](const QString& lock) { Checks::plant(u"pipe"_s, lock); }},
    {u"dangling link"_s, [](const QString& lock) { QFile::link(lock + u".gone"_s, lock); }},
    {u"left by a killed copy"_s, // a plain file, and a socket; no destructor gives them back
     [](const QString&) {
         if (const pid_t child = ::fork(); child == 0)
             ::_exit(SingleInstance(QDir::currentPath()).isFirst() ? 0 : 1);
         ::wait(nullptr);
     }},
    {u"runtime folder open to all"_s, [](const QString&) { plantRuntimeFolder(0777); }},
    {u"runtime folder a link"_s,
     [](const QString&) { QFile::link(QDir::tempPath(), ownRuntimeFolder()); }},
    {u"runtime folder of another user"_s, [](const QString&) { plantRuntimeFolder(0700, 4242); }},
    {noOwnFolder,
     [](const QString&) {
         plantRuntimeFolder(0777);
         Checks::writeBytes(qEnvironmentVariable("XDG_CACHE_HOME"), "no folder");
     }},
};

// Captions whole in their boxes; Tab round twice, a box's caption (label) showing its focus.
void checkWindow(QWidget& window, const QSize& designSize, const QString& tabOrder)
{
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (QLabel* label : window.findChildren<QLabel*>())
        QVERIFY2(label->text().isEmpty() || label->wordWrap()
                     || textEnd(*label) <= label->geometry().right() + 1,
                 qPrintable(label->text()));
    for (const QPushButton* button : window.findChildren<QPushButton*>())
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) < button->width(),
                 qPrintable(button->text()));
    for (const QToolButton* more : window.findChildren<QToolButton*>())
        QVERIFY(!more->isVisible()); // the menu bar's "»": every title on the bar
    const QSize area = window.findChild<QLabel*>()->parentWidget()->size();
    QCOMPARE(area.expandedTo(designSize), area);
    QStringList reached;
    QLabel* caption = nullptr;
    QImage focused;
    for (qsizetype tab = 0; tab < 2 * (tabOrder.count(u',') + 1); ++tab) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        QVERIFY(!caption || caption->grab().toImage() != focused); // the frame went on
        QWidget* now = window.focusWidget();
        reached << now->accessibleName() + now->property("text").toString();
        caption = nullptr;
        for (QLabel* label : window.findChildren<QLabel*>())
            caption = label->buddy() == now ? label : caption;
        focused = caption ? caption->grab().toImage() : QImage();
    }
    QVERIFY2(reached.join(u',').contains(tabOrder), qPrintable(reached.join(u',')));
}

const QString switchProgram = u"" GRIMTIDE_SWITCH_PROGRAM ""_s;
const QString pathCommand = u"" GRIMTIDE_PATH_COMMAND ""_s; // hands every argument on unread

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

Q_DECLARE_METATYPE(TestFolder::Row)

class TestApp : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        Program::configureApplication();
        qunsetenv("XDG_RUNTIME_DIR");
        // Wayland's app id; tests/tray/sni-check holds the X11 window class.
        QCOMPARE(QGuiApplication::desktopFileName() + u".desktop"_s,
                 QFileInfo(u"" GRIMTIDE_DESKTOP_ENTRY ""_s).fileName());
    }
    void init() // the runtime folders are this test's own, never the user's
    {
        runtimeFolders.emplace();
        qputenv("TMPDIR", QFile::encodeName(runtimeFolders->path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(runtimeFolders->filePath(u"cache"_s)));
    }

    void eachWindowShowsItsCaptionsWholeAndTabsInItsOrder_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QSize>("designSize"); // of its controls' area, in the design's font
        // Of the two option buttons, the one that is on (the game is pure) is a tab stop.
        QTest::addColumn<QString>("tabOrder");
        QTest::newRow("Grimtide Switch") << 2 << QSize(142, 183) << u"SW,RTR,Pure,Secure Mode"_s;
        QTest::newRow("Crosshairs") << 3 << QSize(127, 165) << u"Reticle,Crosshair,OK,Cancel"_s;
        QTest::newRow("Choose Directory")
            << 4 << QSize(180, 226)
            << u"Drive,Please choose your Battlefield 1942 directory,Ok,Cancel"_s;
    }

    // Also run with DejaVu Sans the only font, wider than the design's.
    void eachWindowShowsItsCaptionsWholeAndTabsInItsOrder()
    {
        QFETCH(int, number);
        QFETCH(QSize, designSize);
        QFETCH(QString, tabOrder);
        TestProgram program;
        if (number == 3)
            return program.withChooserOpen(
                [&](QWidget& chooser) { checkWindow(chooser, designSize, tabOrder); });
        if (number == 4)
            program.inMain<QAction>("msetup")->trigger();
        checkWindow(*TestProgram::window(number == 2 ? "Form2" : "Form4"), designSize, tabOrder);
    }

    // With a place and advice and without either.
    void everyFailureNumberHasItsSentence()
    {
        const QString place = u"/games/bf1942/mods/xpack2"_s;
        for (const int number : {13, 53, 57, 61, 70, 71, 75, 76, 91, 94, 3021, 3024, 3078, 3218,
                                 3265, 3343, 4001, 4002}) {
            QCOMPARE(FailureText::sentence(Failure(number, place, u"untick SW"_s)),
                     Checks::sentence(number, place, u"untick SW"_s));
            QCOMPARE(FailureText::sentence(Failure(number)), Checks::sentence(number));
        }
    }

    // Until a tray comes a minimize is plain; exit saves the record in memory, as the close box
    // does.
    void theTrayServesTheWindowUntilExitSavesAndEnds()
    {
        TestProgram program({}, TestProgram::Start::Later);
        program.tray.isAvailable = false;
        program.start();
        Form2& main = program.main();
        main.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(main.isVisible());
        main.showNormal();
        program.inMain<QRadioButton>("Option2")->click();
        program.tray.isAvailable = true;
        emit program.tray.appeared();
        QVERIFY(program.tray.exists());
        QCOMPARE(program.tray.tip, u"unpure"_s); // the mode's icon
        program.inMain<QRadioButton>("Option1")->click();
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
        emit program.tray.restoreRequested();
        QVERIFY(main.isVisible() && !main.isMinimized());
        QMenu* popped = nullptr;
        QTimer::singleShot(100, this, [&] {
            popped = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            popped->close();
        });
        emit program.tray.menuRequested();
        QCOMPARE(popped, program.inMain<QMenu>("mpopupsys"));
        // A radio button leaves the tip alone; the item reached in pure mode says so, and sets it.
        program.inMain<QAction>("mpopunpure")->trigger();
        QCOMPARE(program.tray.operations.last() + program.tray.tip, u"setTipUnpure"_s);
        program.inMain<QRadioButton>("Option1")->click();
        QCOMPARE(program.tray.tip, u"Unpure"_s);
        program.inMain<QAction>("mpoppure")->trigger(); // "you are already in pure mode"
        QCOMPARE(program.tray.tip, u"Pure"_s);
        program.withChooserOpen([](QWidget&) {});
        Checks::exec(program.folder.databaseFile(), "UPDATE Options SET cr = '9'");
        program.inMain<QAction>("mpopexit")->trigger();
        QCOMPARE(program.ends, 1);
        QCOMPARE(program.tray.operations.last(), u"remove"_s);
        QCOMPARE(program.folder.storedRows(), QList<SettingsRecord>{program.settings()});
        QVERIFY(!TestProgram::window("Form3") && !TestProgram::window("Form1"));
    }

    void theRowSetsTheControlsAndNothingIsSaved_data()
    {
        QTest::addColumn<TestFolder::Row>("row");
        // Only "Pure" is pure, anything but "no" a pack's "yes", only "Yes" Secure Mode.
        QTest::addColumn<QStringList>("shown"); // its captions and tip, then what is on
        using Row = TestFolder::Row;
        QTest::newRow("Pure") << Row{.status = u"Pure"_s, .rtr = u"yes"_s, .secure = u"yes"_s}
                              << u"Pure yes no pure Check1 mpopunpure"_s.split(u' ');
        QTest::newRow("Grimtide")
            << Row{.status = u"Grimtide"_s, .rtr = u"No"_s, .sw = u""_s, .secure = u"Yes"_s}
            << u"Grimtide yes yes unpure Option2 Check1 Check2 Check4 mpoppure"_s.split(u' ');
        QTest::newRow("pure in lower case")
            << Row{.status = u"pure"_s} << u"pure no no unpure Option2 mpoppure"_s.split(u' ');
    }

    void theRowSetsTheControlsAndNothingIsSaved()
    {
        QFETCH(TestFolder::Row, row);
        QFETCH(QStringList, shown);
        const bool secureTicked = shown.contains(u"Check4"_s);
        TestProgram s(row, TestProgram::Start::Later);
        const QByteArray delivered = Checks::bytesOf(s.folder.databaseFile());
        s.start();
        QVERIFY(s.main().isVisible() && !TestProgram::window("Form1")->isVisible());
        QStringList now{s.inMain<QLabel>("Label4")->text(), s.inMain<QLabel>("Label7")->text(),
                        s.inMain<QLabel>("Label8")->text(), s.tray.tip};
        for (const char* name : {"Option2", "Check1", "Check2", "Check4"})
            if (s.inMain<QAbstractButton>(name)->isChecked())
                now << QString::fromLatin1(name);
        for (const char* name : {"mpoppure", "mpopunpure"})
            if (s.inMain<QAction>(name)->isVisible())
                now << QString::fromLatin1(name);
        QCOMPARE(now, shown);
        // A start in Secure Mode puts its pair in place again.
        QCOMPARE(s.copier.sources.join(u' '),
                 secureTicked ? u"cons/cr/12/menu.rfa cons/rt/2/game.rfa"_s : QString());
        QCOMPARE(s.messages(), QStringList());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
        QVERIFY(!TestProgram::window("Form3")); // made when first opened, in the mode it finds
        // OK is hidden in Secure Mode; the chooser is made anew each time.
        for (const bool secure : {secureTicked, false})
            s.withChooserOpen([&](QWidget& chooser) {
                QCOMPARE(chooser.findChild<QPushButton*>(u"Command1"_s)->isVisibleTo(&chooser),
                         !secure);
                chooser.close();
            });
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
            QVERIFY(TestProgram::window("Form1")->isVisible() && !s.main().isVisible());
            DirList* list = chooser.findChild<DirList*>(u"Dir1"_s);
            QCOMPARE(list->path(), s.folder.path());
            list->setPath(s.folder.game());
            chooser.findChild<QPushButton*>(u"Command1"_s)->click();
        });
        s.start();
        // The packs follow the game's folders: Road to Rome's is there, whatever its case.
        QVERIFY(s.main().isVisible() && s.inMain<QCheckBox>("Check1")->isChecked()
                && !s.inMain<QCheckBox>("Check2")->isChecked());
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
        QCOMPARE(s.messages().join(u'|'),
                 u"I need a install path to run, so please reopen me and choose your path"_s);
        QVERIFY(s.ends == 1 && !s.main().isVisible() && s.tray.operations.isEmpty());
        QCOMPARE(Checks::bytesOf(s.folder.databaseFile()), delivered);
    }

    void nothingBrokenOrPlantedWhereAFileIsReadHangsOrIsWritten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number"); // of the load's and the close's report, or 0: none
        for (const char* name :
             {"gtdb.inf", "gtdb.inf-journal", "gtdb.inf.lock", "game-files.journal",
              "kept-game-files", "cons/cr/12/menu.rfa", "game/mods/gtide_base/archives/menu.rfa"})
            for (const char* kind : {"pipe", "/dev/zero", "folder"})
                QTest::addRow("%s at %s", kind, name)
                    << QString::fromLatin1(name) << QString::fromLatin1(kind) << 0;
        QTest::newRow("noise at gtdb.inf-journal") << u"gtdb.inf-journal"_s << u"noise"_s << 0;
        QTest::newRow("gtdb.inf missing") << u"gtdb.inf"_s << u"missing"_s << 3024;
        QTest::newRow("noise at gtdb.inf") << u"gtdb.inf"_s << u"noise"_s << 3343;
        QTest::newRow("gtdb.inf empty") << u"gtdb.inf"_s << u"empty"_s << 3078;
        QTest::newRow("gtdb.inf without sw") << u"gtdb.inf"_s << u"no sw"_s << 3265;
    }

    // At a start in Secure Mode and at the close: a message naming the place, or none; a broken
    // gtdb.inf shows the window's first captions, is reported twice and left as it is.
    void nothingBrokenOrPlantedWhereAFileIsReadHangsOrIsWritten()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(int, number);
        TestProgram s({.secure = u"Yes"_s}, TestProgram::Start::Later);
        const QString planted = s.folder.file(name);
        if (kind == u"noise" || kind == u"empty")
            Checks::writeBytes(planted, kind == u"noise" ? QByteArray(8192, 'x') : QByteArray());
        else if (kind == u"missing")
            QFile::remove(planted);
        else if (kind == u"no sw")
            Checks::exec(planted, "ALTER TABLE Options DROP COLUMN sw");
        else
            Checks::plant(kind, planted);
        const auto what = NativeFileSystem::identity(planted);
        const QByteArray bytes = number ? Checks::bytesOf(planted) : QByteArray();
        ::alarm(30); // a hang ends the test here, after the last row that passed
        SingleInstance guard(s.folder.path());
        s.start();
        const bool loaded = s.module.startup().hasLoaded();
        QVERIFY(s.main().isVisible() && (!number || (!loaded && !s.tray.exists())));
        if (number)
            QCOMPARE(s.inMain<QLabel>("Label4")->text(), u"unpure"_s);
        s.main().close();
        ::alarm(0);
        QVERIFY(guard.isFirst() && s.ends == 1);
        for (const QString& message : std::as_const(s.sink.messages))
            QVERIFY2(message.contains(QDir::toNativeSeparators(planted)), qPrintable(message));
        const QString report = u"We have a problem, Please report this error = %1%2 to: "
                               "" GRIMTIDE_CONTACT "\n"_s
                               + (number ? Checks::sentence(number, planted) : QString());
        if (number)
            QCOMPARE(s.messages(), (QStringList{report.arg(u"load"_s).arg(number),
                                                report.arg(u"unload"_s).arg(number)}));
        QVERIFY(kind != u"noise" || number || (loaded && s.messages().isEmpty()));
        // A journal no plain file is set aside whole; noise in gtdb.inf's is SQLite's to remove.
        const bool setAside = name == u"game-files.journal"_s;
        if (number) // the file as it was, a missing one not made
            QVERIFY(Checks::bytesOf(planted) == bytes && QFileInfo::exists(planted) == !!what);
        else if (kind != u"noise")
            QVERIFY(NativeFileSystem::identity(planted + (setAside ? u".rejected"_s : u""_s))
                    == what);
    }

    void nothingLeftStopsAStartOrLetsASecondCopyRun_data()
    {
        QTest::addColumn<QString>("lock");
        for (const QString& lock : leftAtTheLock.keys())
            QTest::newRow(qPrintable(lock)) << lock;
    }

    // The second copy calls the first forward, or where it can't, ends all the same.
    void nothingLeftStopsAStartOrLetsASecondCopyRun()
    {
        QFETCH(QString, lock);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        leftAtTheLock[lock](folder.file(u"gtdb.inf.lock"_s));
        RunningProgram first;
        QVERIFY(first.start());
        first.main().hide();
        const auto entries = [] {
            return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        };
        const QStringList before = entries();
        QVERIFY(!RunningProgram().start());
        QCOMPARE(entries(), before);
        QCOMPARE(QTest::qWaitFor([&] { return first.main().isVisible(); },
                                 lock == noOwnFolder ? 100 : 5000),
                 lock != noOwnFolder);
    }

    // None while no copy runs, nor where the first gives none or the line is too long.
    void aRequestHasOneAnswerAtMost()
    {
        TestFolder folder;
        QCOMPARE(SingleInstance::ask(folder.path(), "play"), std::optional<QByteArray>());
        SingleInstance first(folder.path());
        QStringList told;
        connect(&first, &SingleInstance::asked,
                [&](const QByteArray& line, const CallSocket::Answer& answer) {
                    told << QString::fromLatin1(line);
                    if (line != "play")
                        answer("0 started");
                });
        const auto ask = [&](const QByteArray& request) {
            auto asking = std::async(std::launch::async,
                                     [&] { return SingleInstance::ask(folder.path(), request); });
            const bool ended =
                QTest::qWaitFor([&] { return asking.wait_for(0s) == std::future_status::ready; });
            return ended ? asking.get() : std::optional<QByteArray>("no end in time");
        };
        QCOMPARE(ask("play grimtide"), std::optional<QByteArray>("0 started"));
        QCOMPARE(ask("play"), std::optional<QByteArray>());
        QCOMPARE(ask(QByteArray(5000, 'x')), std::optional<QByteArray>());
        QCOMPARE(told, (QStringList{u"play grimtide"_s, u"play"_s}));
    }

    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("locked"); // by another program, past the close's wait
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGINT") << SIGINT << false;
        QTest::newRow("SIGTERM, the settings locked") << SIGTERM << true;
    }

    // The child's record differs from the stored row: its packs read as "yes".
    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, locked);
        TestFolder folder;
        folder.writeSettings({.rtr = u"Yes"_s, .path = folder.game()});
        QProcess child;
        child.setWorkingDirectory(folder.path());
        child.start(QCoreApplication::applicationFilePath(), {childRole});
        QVERIFY(child.waitForReadyRead(60000));
        std::optional<Checks::SettingsLock> otherProgram;
        if (locked)
            otherProgram.emplace(folder.databaseFile());
        ::kill(pid_t(child.processId()), signalNumber);
        QVERIFY(child.waitForFinished(60000)); // never waiting for a box's OK
        otherProgram.reset();
        QVERIFY(child.exitStatus() == QProcess::NormalExit && (child.exitCode() != 0) == locked);
        const QString report = u"We have a problem, Please report this error = unload3218 to: "
                               "" GRIMTIDE_CONTACT "\n"_s
                               + folder.databaseFile() + u" is locked by another program."_s;
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardError()).contains(report), locked);
        QCOMPARE(folder.storedRows().value(0).rtr, locked ? u"Yes"_s : u"yes"_s);
        QVERIFY(!QFileInfo::exists(folder.file(u"gtdb.inf.lock"_s)));
    }

    // The tray is asked off the window thread, each call within its bound, not Qt's 25 s.
    void aFrozenSessionBusHoldsNoWindow()
    {
        QProcess bus;
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(bus.waitForReadyRead(10000));
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
        QVERIFY(!TrayHost::ask(nullptr).present); // connected while it answers: no tray there
        ::kill(pid_t(bus.processId()), SIGSTOP);
        ::alarm(10); // a call left to Qt's own timeout ends the test here
        QtTrayBackend tray(QIcon{});
        tray.add(u"pure"_s);
        QVERIFY(!tray.exists() && !TrayHost::ask(nullptr).present);
        ::alarm(0);
        // Woken, the bus answers what Qt may still wait for, before it goes.
        ::kill(pid_t(bus.processId()), SIGCONT);
        QThreadPool::globalInstance()->waitForDone();
    }

    // Caught from the start: nothing saved, no Secure Mode archive written.
    void aSignalBeforeTheFirstWindowEndsTheStartWithNothingWritten()
    {
        TestFolder folder;
        folder.writeSettings({.secure = u"Yes"_s, .path = QDir::toNativeSeparators(folder.game())});
        const QByteArray stored = Checks::bytesOf(folder.databaseFile());
        TerminationSignals::catchEarly();
        ::raise(SIGTERM);
        QVERIFY(!RunningProgram().start());
        QVERIFY(Checks::bytesOf(folder.databaseFile()) == stored
                && !QFileInfo::exists(folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s));
    }

    // Through the command on the PATH, as a player types them.
    void anOptionWithoutAWindowLeavesNothingBehind_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("why"); // none: answered with the line below
        QTest::addColumn<QString>("answer");
        const auto row = [](const char* name, const QStringList& arguments, const QString& why,
                            const QString& answer = {}) {
            QTest::newRow(name) << arguments << why << answer;
        };
        row("--version", {u"--version"_s}, {}, u"GPLv3+: GNU GPL version 3 or later"_s);
        row("--help", {u"--help"_s}, {},
            u"  --restore-game     Puts back the game's own files, as they were before the\n"_s);
        row("unknown option", {u"--bogus"_s}, u"Unknown option 'bogus'."_s);
        row("two actions", {u"--restore-game"_s, u"--import-archives"_s},
            u"--restore-game and --import-archives can't be given together."_s);
        row("an argument to --restore-game", {u"--restore-game"_s, u"cons"_s},
            u"unexpected argument 'cons'."_s);
        row("two paths", {u"--import-archives"_s, u"a"_s, u"b"_s}, u"unexpected argument 'b'."_s);
        row("a path alone", {u"cons"_s}, u"unexpected argument 'cons'."_s);
        row("a mode of no name", {u"--play"_s, u"Grimtide"_s},
            u"--play takes pure or grimtide, not 'Grimtide'."_s);
        row("--dry-run with another action", {u"--restore-game"_s, u"--dry-run"_s},
            u"--dry-run goes only with --play."_s);
        // Without a PATH the import asks in a window, which a terminal has none for.
        row("an import without a path", {u"--import-archives"_s},
            u"--import-archives needs a PATH where no window can open."_s);
    }

    void anOptionWithoutAWindowLeavesNothingBehind()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, why);
        QFETCH(QString, answer);
        const QTemporaryDir home;
        const ProgramRun run = ProgramRun::in(home.path(), pathCommand, arguments, home.path());
        QCOMPARE(run.status, why.isEmpty() ? 0 : 2);
        QVERIFY2(answer.isEmpty() || run.out.contains(answer), qPrintable(run.out));
        QCOMPARE(run.err, why.isEmpty()
                              ? QString()
                              : u"grimtide-switch: %1 Try 'grimtide-switch --help'.\n"_s.arg(why));
        QCOMPARE(entriesOf(home.path()), QStringList());
    }

    // --play finds no settings yet; an import makes the folder; a start lays out "cons" first.
    void theCommandOnThePathWorksInThePlayersFolder()
    {
        const ImportFixture s;
        QTemporaryDir home;
        const QDir own(home.filePath(u"grimtide-switch"_s));
        for (const QString& mode : {u"--dry-run"_s, u"grimtide"_s}) {
            const ProgramRun run =
                ProgramRun::in(home.path(), pathCommand, {u"--play"_s, mode}, home.path());
            QCOMPARE(run.status, mode == u"grimtide"_s ? 2 : 1);
            QCOMPARE(run.err,
                     u"grimtide-switch: The settings file %1/gtdb.inf does not exist.\n"_s.arg(
                         QDir::toNativeSeparators(own.path())));
            QCOMPARE(entriesOf(own.path()), QStringList());
        }
        const ProgramRun run = ProgramRun::in(s.folder.path(), pathCommand,
                                              {u"--import-archives"_s, u"mod"_s}, home.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.section(u'\n', -2),
                 u"23 archives imported into %1.\n"_s.arg(own.filePath(u"cons"_s)));
        QCOMPARE(QFile(own.filePath(u"cons/rt/2/game.rfa"_s)).size(),
                 ImportFixture::realContent(u"rt/2/game.rfa"_s).size());
        QVERIFY(QDir(own.filePath(u"cons"_s)).removeRecursively());
        QProcess started;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name), home.path());
        started.setProcessEnvironment(environment);
        started.start(pathCommand, {});
        const QString process = u"/proc/%1/"_s.arg(started.processId());
        QTRY_COMPARE_WITH_TIMEOUT(
            QFileInfo(process + u"exe"_s).canonicalFilePath(),
            QFileInfo(u"" GRIMTIDE_INSTALLED_PROGRAM ""_s).canonicalFilePath(), 30000);
        QCOMPARE(QFileInfo(process + u"cwd"_s).canonicalFilePath(), own.canonicalPath());
        QVERIFY(QFileInfo(own.filePath(u"cons/rt/3/game.rfa"_s)).isFile());
        // A box says whose it is in its title: only the terminal's line names the program.
        const QString why = u"Grimtide Switch is running in this folder; close it, then restore "
                            "the game's files.\n"_s;
        QTRY_COMPARE(GameRestore::run(own.path()).text, why);
        const ProgramRun refused = ProgramRun::in(own.path(), switchProgram, {u"--restore-game"_s});
        QCOMPARE(refused.status, GameRestore::refused);
        QCOMPARE(refused.err, u"grimtide-switch: "_s + why);
        started.kill();
        started.waitForFinished();
    }

private:
    std::optional<QTemporaryDir> runtimeFolders;
};

// The child of the signal test: the program in its working folder, left be.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (!app.arguments().contains(childRole)) {
        TestApp test;
        return QTest::qExec(&test, argc, argv);
    }
    RunningProgram program;
    if (!program.start())
        return 3;
    std::puts("started");
    std::fflush(stdout);
    return QApplication::exec();
}

#include "test_app.moc"
