#include "core/app/TrayIconRecord.h"
#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/NumberText.h"
#include "gui/widgets/ClickFromCode.h"
#include "gui/widgets/MessageBoxSink.h"
#include "gui/widgets/ModalShow.h"
#include "gui/widgets/ProgramWindow.h"
#include "gui/widgets/WindowHolder.h"
#include "support/Checks.h"
#include "support/RecordingSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace {

class CountingWindow : public ProgramWindow {
public:
    int loads = 0;
    int unloads = 0;
    void load() override { ++loads; }

protected:
    void unload() override { ++unloads; }
};

const QString address = QStringLiteral(GRIMTIDE_CONTACT);

// The text laid out at that width keeps the address on one line.
bool addressWhole(const QLabel& label, int width)
{
    QTextDocument shown(label.text());
    shown.setDefaultFont(label.font());
    shown.setDocumentMargin(0);
    shown.setTextWidth(width);
    shown.size(); // lays the text out
    const int start = int(shown.toPlainText().indexOf(address));
    for (QTextBlock block = shown.begin(); block.isValid(); block = block.next()) {
        for (int line = 0; line < block.layout()->lineCount(); ++line) {
            const int lineStart = block.position() + block.layout()->lineAt(line).textStart();
            if (lineStart > start && lineStart < start + address.size())
                return false;
        }
    }
    return start >= 0;
}

} // namespace

// The services every window and command use: reports, clicks made from
// code, windows made on first use and shown modally.
class TestWindowServices : public QObject {
    Q_OBJECT
private slots:
    void aTrappedFailureEndsTheBodyWithOneReport()
    {
        QCOMPARE(ErrorReport::text(QStringLiteral("3command1"), -2147),
                 QStringLiteral("We have a problem, Please report this error = 3command1-2147 to: ") + address);
        RecordingSink sink;
        ErrorReport report(sink);
        bool after = false;
        QVERIFY(!report.trap(QStringLiteral("check1"), [&] {
            throw Failure(FailureNumber::DiskFull);
            after = true;
        }));
        QVERIFY(!after);
        QVERIFY(report.trap(QStringLiteral("check1"), [] {}));
        // A plainer message replaces the report for its number only.
        const ErrorReport::PlainerMessage plainer{FailureNumber::PathNotFound, QStringLiteral("Please check")};
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::PathNotFound); }, plainer);
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::FileNotFound); }, plainer);
        QCOMPARE(sink.messages, (QStringList{ErrorReport::text(QStringLiteral("check1"), 61), QStringLiteral("Please check"),
                                             ErrorReport::text(QStringLiteral("msetp"), 53)}));
    }

    void aReportBoxNeverBreaksTheAddress()
    {
        QStringList broken; // the widths at which the address broke
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            const int addressWidth = label->fontMetrics().horizontalAdvance(address);
            if (label->contentsRect().width() < addressWidth)
                broken << QStringLiteral("box");
            for (int width : {label->contentsRect().width(), addressWidth + 4})
                if (!addressWhole(*label, width))
                    broken << QString::number(width);
            box->accept();
        });
        MessageBoxSink().show(ErrorReport::text(QStringLiteral("msetu"), 76));
        QCOMPARE(broken, QStringList());
    }

    void numbersAndTrayTipsFromText()
    {
        QCOMPARE(NumberText::read(QStringLiteral(" 2.5")), 2.5);
        for (const char* bad : {"", "x", "7a", "inf"})
            QCOMPARE(Checks::failureOf([&] { NumberText::read(QLatin1String(bad)); }), FailureNumber::TypeMismatch);
        // The tip is a zero-ended field of 64 bytes.
        TrayIconRecord record;
        record.setTip(QStringLiteral("Unpure"));
        QCOMPARE(record.tip(), QStringLiteral("Unpure"));
        QCOMPARE(record.tipBytes, QByteArray("Unpure") + '\0' + QByteArray(57, ' '));
        record.setTip(QString(100, QLatin1Char('t')));
        QCOMPARE(record.tipBytes, QByteArray(63, 't') + '\0');
    }

    // The command runs, seeing the new value, only when the value changes,
    // and runs to its end before the setting returns.
    void aClickFromCodeRunsTheCommandOnlyOnAChange()
    {
        QCheckBox box;
        QCheckBox inner;
        QStringList order;
        connect(&inner, &QCheckBox::clicked, this, [&] { order << QStringLiteral("inner"); });
        connect(&box, &QCheckBox::clicked, this, [&] {
            ClickFromCode::setChecked(inner, true);
            order << (box.isChecked() ? QStringLiteral("ticked") : QStringLiteral("cleared"));
        });
        for (bool ticked : {true, true, false})
            ClickFromCode::setChecked(box, ticked);
        QCOMPARE(order, (QStringList{QStringLiteral("inner"), QStringLiteral("ticked"), QStringLiteral("cleared")}));

        QWidget parent;
        auto* pure = new QRadioButton(&parent);
        auto* grimtide = new QRadioButton(&parent);
        QSignalSpy pureClicks(pure, &QRadioButton::clicked);
        QSignalSpy grimtideClicks(grimtide, &QRadioButton::clicked);
        ClickFromCode::turnOn(*pure);
        ClickFromCode::turnOn(*pure);
        ClickFromCode::turnOn(*grimtide);
        QVERIFY(!pure->isChecked()); // the group turned it off, running nothing
        ClickFromCode::turnOff(*grimtide);
        QVERIFY(!grimtide->isChecked());
        ClickFromCode::turnOn(*grimtide); // off again, so on runs the command
        QCOMPARE(pureClicks.count(), 1);
        QCOMPARE(grimtideClicks.count(), 2);
    }

    void windowIsMadeOnFirstUseAndAnewAfterClose()
    {
        int made = 0;
        WindowHolder<CountingWindow> holder([&] {
            ++made;
            return new CountingWindow;
        });
        holder.close(); // closing a window that does not exist does nothing
        QVERIFY(!holder.exists());
        CountingWindow& first = holder.get();
        QVERIFY(!first.isVisible());
        first.show();
        first.hide();
        QCOMPARE(&holder.get(), &first); // hide keeps the window
        QCOMPARE(first.loads, 1);
        QPointer<CountingWindow> gone(&first);
        holder.close();
        QCOMPARE(gone->unloads, 1);
        QCOMPARE(holder.get().loads, 1);
        QCOMPARE(made, 2);
        QTRY_VERIFY(gone.isNull());
    }

    void modalShowReturnsWhenHiddenOrDestroyed()
    {
        CountingWindow window;
        QTimer::singleShot(50, &window, [&] {
            QCOMPARE(QApplication::activeModalWidget(), &window);
            window.hide();
        });
        ModalShow::exec(window);
        QVERIFY(!window.isVisible());
        auto* doomed = new CountingWindow;
        doomed->setAttribute(Qt::WA_DeleteOnClose);
        QPointer<CountingWindow> guard(doomed);
        QTimer::singleShot(50, doomed, [doomed] { doomed->close(); });
        ModalShow::exec(*doomed);
        QCOMPARE(guard->unloads, 1);
        QTRY_VERIFY(guard.isNull());
    }
};

QTEST_MAIN(TestWindowServices)
#include "test_windowservices.moc"
