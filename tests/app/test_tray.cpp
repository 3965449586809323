#include "gui/app/Form2.h"
#include "gui/app/QtTrayBackend.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QThreadPool>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

class TestTray : public QObject {
    Q_OBJECT
private slots:
    void init(bool trayAvailable = true)
    {
        program.reset(); // gives the working folder back first
        program = std::make_unique<TestProgram>(TestFolder::Row{}, TestProgram::Start::Later);
        program->tray.isAvailable = trayAvailable;
        program->start();
    }

    void aMinimizedWindowComesBackByATrayClickAndARightClickPopsUpTheMenu()
    {
        Form2& main = program->main();
        main.showMinimized();
        QTRY_VERIFY(!main.isVisible());
        emit program->tray.restoreRequested();
        QVERIFY(main.isVisible() && !main.isMinimized());
        QMenu* popped = nullptr;
        QTimer::singleShot(100, this, [&] {
            popped = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            popped->close();
        });
        emit program->tray.menuRequested();
        QCOMPARE(popped, program->inMain<QMenu>("mpopupsys"));
        // A tray that comes late gets the mode's icon; until then a minimize is a plain one.
        init(false);
        Form2& late = program->main();
        late.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(late.isVisible()); // no icon to come back by: a plain minimize
        late.showNormal();
        program->inMain<QRadioButton>("Option2")->click();
        program->tray.isAvailable = true;
        emit program->tray.appeared();
        QVERIFY(program->tray.exists());
        QCOMPARE(program->tray.tip, u"unpure"_s);
    }

    void trayItemSwitchesAndSetsTheTip()
    {
        program->inMain<QAction>("mpopunpure")->trigger();
        QCOMPARE(program->tray.tip, u"Unpure"_s);
        QCOMPARE(program->tray.operations.last(), u"setTip"_s);
        program->inMain<QRadioButton>("Option1")->click(); // switches back, leaves the tip alone
        QCOMPARE(program->tray.tip, u"Unpure"_s);
        // Reached in pure mode anyway: says so, and still sets the tip.
        program->inMain<QAction>("mpoppure")->trigger();
        QCOMPARE(program->messages(), QStringList{u"you are already in pure mode"_s});
        QCOMPARE(program->tray.tip, u"Pure"_s);
    }

    void closeAndExitSaveEverythingRemoveTheIconAndEnd_data()
    {
        QTest::addColumn<bool>("exit"); // or else the close box
        QTest::newRow("close box") << false;
        QTest::newRow("exit") << true;
    }

    void closeAndExitSaveEverythingRemoveTheIconAndEnd()
    {
        QFETCH(bool, exit);
        program->withChooserOpen([](QWidget&) {}); // the chooser, made and hidden, goes too
        Checks::exec(program->folder.databaseFile(), "UPDATE Options SET cr = '9'");
        exit ? program->inMain<QAction>("mpopexit")->trigger() : void(program->main().close());
        QCOMPARE(program->ends, 1);
        QCOMPARE(program->tray.operations.last(), u"remove"_s);
        // The record in memory is written over what another program wrote.
        QCOMPARE(program->folder.storedRows(), QList<SettingsRecord>{program->settings()});
        QVERIFY(!TestProgram::window("Form3"));
        QVERIFY(!TestProgram::window("Form1"));
    }

    // A session bus that stopped answering: the tray is asked off the window
    // thread, and each call gives up within its bound, not Qt's 25 seconds.
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

private:
    std::unique_ptr<TestProgram> program;
};

QTEST_MAIN(TestTray)
#include "test_tray.moc"
