#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/app/QtTrayBackend.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QThreadPool>
#include <QToolButton>

#include <csignal>
#include <unistd.h>

using namespace Qt::StringLiterals;

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

} // namespace

class TestWindowServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { Program::configureApplication(); }

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
        const auto check = [&](QWidget& window) {
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
            checkCaptions(window, designSize);
            checkTabOrder(window, tabOrder);
        };
        if (number == 3) {
            program.withChooserOpen(check);
            return;
        }
        if (number == 4)
            program.inMain<QAction>("msetup")->trigger();
        check(*TestProgram::window(number == 2 ? "Form2" : "Form4"));
    }

    void everyFailureNumberHasItsSentence_data()
    {
        QTest::addColumn<int>("number");
        for (const int number : {13, 53, 57, 61, 70, 71, 75, 76, 91, 94, 3021, 3024, 3078, 3218,
                                 3265, 3343, 4001, 4002})
            QTest::addRow("%d", number) << number;
    }

    // With a place and advice and without either.
    void everyFailureNumberHasItsSentence()
    {
        QFETCH(int, number);
        const QString place = u"/games/bf1942/mods/xpack2"_s;
        QCOMPARE(FailureText::sentence(Failure(number, place, u"untick SW"_s)),
                 Checks::sentence(number, place, u"untick SW"_s));
        QCOMPARE(FailureText::sentence(Failure(number)), Checks::sentence(number));
    }

    void theTrayServesTheWindowUntilCloseOrExitSavesAndEnds_data()
    {
        QTest::addColumn<bool>("exit"); // or else the close box
        QTest::newRow("close box") << false;
        QTest::newRow("exit") << true;
    }

    // The record in memory is written over another program's; the hidden chooser goes too.
    void theTrayServesTheWindowUntilCloseOrExitSavesAndEnds()
    {
        QFETCH(bool, exit);
        TestProgram program;
        Form2& main = program.main();
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
        program.inMain<QAction>("mpoppure")->trigger();
        QCOMPARE(program.messages(), QStringList{u"you are already in pure mode"_s});
        QCOMPARE(program.tray.tip, u"Pure"_s);
        program.withChooserOpen([](QWidget&) {});
        Checks::exec(program.folder.databaseFile(), "UPDATE Options SET cr = '9'");
        exit ? program.inMain<QAction>("mpopexit")->trigger() : void(main.close());
        QCOMPARE(program.ends, 1);
        QCOMPARE(program.tray.operations.last(), u"remove"_s);
        QCOMPARE(program.folder.storedRows(), QList<SettingsRecord>{program.settings()});
        QVERIFY(!TestProgram::window("Form3") && !TestProgram::window("Form1"));
    }

    // Until a tray comes, a minimize is a plain one, or the window would be lost.
    void aLateTrayGetsTheModesIcon()
    {
        TestProgram program({}, TestProgram::Start::Later);
        program.tray.isAvailable = false;
        program.start();
        program.main().showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(program.main().isVisible());
        program.main().showNormal();
        program.inMain<QRadioButton>("Option2")->click();
        program.tray.isAvailable = true;
        emit program.tray.appeared();
        QVERIFY(program.tray.exists());
        QCOMPARE(program.tray.tip, u"unpure"_s);
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

private:
    // Each caption measured against its own box; the area never smaller than the design's.
    static void checkCaptions(QWidget& window, const QSize& designSize)
    {
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
        QVERIFY2(area.width() >= designSize.width() && area.height() >= designSize.height(),
                 qPrintable(u"%1x%2"_s.arg(area.width()).arg(area.height())));
    }

    // Tab goes round twice; a box's caption (its label) shows the box's focus.
    static void checkTabOrder(QWidget& window, const QString& tabOrder)
    {
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
};

QTEST_MAIN(TestWindowServices)
#include "test_windowservices.moc"
