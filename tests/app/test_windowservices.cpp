#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/FailureText.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/widgets/MessageBoxSink.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

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

    void aTrappedFailureEndsTheBodyWithOneReport()
    {
        QCOMPARE(
            ErrorReport::text(u"3command1"_s, -2147),
            u"We have a problem, Please report this error = 3command1-2147 to: " GRIMTIDE_CONTACT
            ""_s);
        RecordingSink sink;
        ErrorReport report(sink);
        bool after = false;
        QVERIFY(!report.trap(u"check1"_s,
                             [&] { throw Failure(FailureNumber::DiskFull), after = true; }));
        QVERIFY(!after && report.trap(u"check1"_s, [] {}));
        QCOMPARE(sink.messages, QStringList{Checks::report(u"check1"_s, 61)});
    }

    void everyFailureNumberHasItsSentence_data()
    {
        QTest::addColumn<int>("number");
        for (const int number : {13, 53, 57, 61, 70, 71, 75, 76, 91, 94, 3021, 3024, 3078, 3218,
                                 3265, 3343, 4001, 4002})
            QTest::addRow("%d", number) << number;
    }

    // The sentence as the test support writes it out, with a place and
    // advice and without either.
    void everyFailureNumberHasItsSentence()
    {
        QFETCH(int, number);
        const QString place = u"/games/bf1942/mods/xpack2"_s;
        QCOMPARE(FailureText::sentence(Failure(number, place, u"untick SW"_s)),
                 Checks::sentence(number, place, u"untick SW"_s));
        QCOMPARE(FailureText::sentence(Failure(number)), Checks::sentence(number));
    }

    void theHeadlinesOfTheFailuresThePlayerMustMend()
    {
        QCOMPARE(FailureText::headline(FailureNumber::GameRunning),
                 u"Battlefield 1942 is running: please close it first."_s);
        QCOMPARE(FailureText::headline(FailureNumber::PlaceholderArchive),
                 u"Only a placeholder archive: the game holds the real one."_s);
        QCOMPARE(FailureText::headline(FailureNumber::DiskFull), QString());
    }

    // The box's own wrapping would break the address at its hyphen.
    void aReportBoxBreaksLinesOnlyBetweenWords()
    {
        QStringList lines;
        int room = 0, widest = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
            lines = label->text().split(u'\n');
            room = label->contentsRect().width();
            for (const QString& line : lines)
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            box->accept();
        });
        const QString text = Checks::report(u"msetu"_s, 76, u"/games/bf1942/mods/xpack2"_s);
        MessageBoxSink().show(text);
        QCOMPARE(lines.join(u' '), QString(text).replace(u'\n', u' ')); // the address is never cut
        QVERIFY(lines.contains(text.section(u'\n', 1))); // the sentence on a line of its own
        QVERIFY2(room >= widest, qPrintable(u"%1 < %2"_s.arg(room).arg(widest)));
    }

private:
    // Every caption shows whole, measured against its own box, and the
    // controls' area is never smaller than the design's.
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
