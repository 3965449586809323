#include "core/common/FailureText.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/crosshair/Form3.h"
#include "gui/installdir/Form4.h"
#include "gui/widgets/ClickFromCode.h"
#include "gui/widgets/MessageBoxSink.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
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
        Module1& m = program.module;
        QWidget* window = QList<QWidget*>{&m.form2(), &m.form3(), &m.form4()}.at(number - 2);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        for (QLabel* label : window->findChildren<QLabel*>())
            QVERIFY2(label->text().isEmpty() || label->wordWrap()
                         || textEnd(*label) <= label->geometry().right() + 1,
                     qPrintable(label->text()));
        for (const QPushButton* button : window->findChildren<QPushButton*>())
            QVERIFY(button->fontMetrics().horizontalAdvance(button->text()) < button->width());
        for (const QToolButton* more : window->findChildren<QToolButton*>())
            QVERIFY(!more->isVisible()); // the menu bar's "»": every title on the bar
        const QSize area = window->findChild<QLabel*>()->parentWidget()->size();
        QVERIFY(QFontInfo(QApplication::font()).family() == u"Liberation Sans"_s
                    ? area == designSize
                    : area.width() > designSize.width() || number == 4);
        // Tab goes round twice; a box's caption (its label) shows the box's focus.
        QStringList reached;
        QLabel* caption = nullptr;
        QImage focused;
        for (qsizetype tab = 0; tab < 2 * (tabOrder.count(u',') + 1); ++tab) {
            QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
            QVERIFY(!caption || caption->grab().toImage() != focused); // the frame went on
            QWidget* now = window->focusWidget();
            reached << now->accessibleName() + now->property("text").toString();
            caption = nullptr;
            for (QLabel* label : window->findChildren<QLabel*>())
                caption = label->buddy() == now ? label : caption;
            focused = caption ? caption->grab().toImage() : QImage();
        }
        QVERIFY2(reached.join(u',').contains(tabOrder), qPrintable(reached.join(u',')));
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
        using namespace FailureNumber;
        for (const int number : {TypeMismatch, FileNotFound, DeviceIo, DiskFull, PermissionDenied,
                                 DriveNotReady, WrongKind, PathNotFound, NoItemChosen, NoValue,
                                 NoCurrentRecord, DatabaseMissing, TableMissing, DatabaseLocked,
                                 FieldMissing, NotADatabase, GameRunning, PlaceholderArchive})
            QTest::addRow("%d", number) << number;
    }

    // One plain sentence, which names the place where there is one and still
    // reads as one where none is known.
    void everyFailureNumberHasItsSentence()
    {
        QFETCH(int, number);
        const QString place = u"/games/bf1942/mods/xpack2"_s;
        const QString named = FailureText::sentence(Failure(number, place, u"untick SW"_s));
        const QString unnamed = FailureText::sentence(Failure(number));
        QVERIFY(FailureText::knows(number) && !FailureText::knows(0));
        QVERIFY2(named.endsWith(u": untick SW."_s)
                     && (number == FailureNumber::NoItemChosen || named.contains(place)),
                 qPrintable(named));
        QVERIFY2(unnamed.endsWith(u'.') && !unnamed.contains(u'%') && !unnamed.contains(u"  "_s),
                 qPrintable(unnamed));
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

    // Turned off from code, an option button is off, though Qt keeps one of
    // a group on; turned on, its command runs, once.
    void anOptionButtonTurnedFromCode()
    {
        QWidget parent;
        auto* option = new QRadioButton(&parent);
        QSignalSpy clicks(option, &QRadioButton::clicked);
        for (int twice = 0; twice < 2; ++twice)
            ClickFromCode::turnOn(*option);
        ClickFromCode::turnOff(*option);
        QVERIFY(!option->isChecked());
        ClickFromCode::turnOn(*option);
        QCOMPARE(clicks.count(), 2);
    }
};

QTEST_MAIN(TestWindowServices)
#include "test_windowservices.moc"
