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
        QVERIFY(!after && report.trap(QStringLiteral("check1"), [] {}));
        // A plainer message replaces the report for its number only.
        const ErrorReport::PlainerMessage plainer{FailureNumber::PathNotFound, QStringLiteral("Please check")};
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::PathNotFound); }, plainer);
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::FileNotFound); }, plainer);
        QCOMPARE(sink.messages, (QStringList{ErrorReport::text(QStringLiteral("check1"), 61), QStringLiteral("Please check"),
                                             ErrorReport::text(QStringLiteral("msetp"), 53)}));
    }

    // The box's own wrapping would break the address at its hyphen.
    void aReportBoxBreaksLinesOnlyBetweenWords()
    {
        QString shown;
        int room = 0, widest = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            shown = label->text();
            room = label->contentsRect().width();
            for (const QString& line : shown.split(QLatin1Char('\n')))
                widest = std::max(widest, label->fontMetrics().horizontalAdvance(line));
            box->accept();
        });
        const QString text = ErrorReport::text(QStringLiteral("msetu"), 76);
        MessageBoxSink().show(text);
        QCOMPARE(QString(shown).replace(QLatin1Char('\n'), QLatin1Char(' ')), text);
        QCOMPARE(shown.split(QLatin1Char('\n')).filter(address).size(), 1);
        QVERIFY2(room >= widest, qPrintable(QStringLiteral("%1 < %2").arg(room).arg(widest)));
    }

    void numbersAndTrayTipsFromText()
    {
        QCOMPARE(NumberText::read(QStringLiteral(" 2.5")), 2.5);
        for (const char* bad : {"", "7a", "inf"})
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
        QCheckBox box, inner;
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
        QRadioButton *pure = new QRadioButton(&parent), *grimtide = new QRadioButton(&parent);
        QSignalSpy pureClicks(pure, &QRadioButton::clicked), grimtideClicks(grimtide, &QRadioButton::clicked);
        for (QRadioButton* on : {pure, pure, grimtide})
            ClickFromCode::turnOn(*on);
        QVERIFY(!pure->isChecked()); // the group turned it off, running nothing
        ClickFromCode::turnOff(*grimtide);
        QVERIFY(!grimtide->isChecked());
        ClickFromCode::turnOn(*grimtide); // off again, so on runs the command
        QCOMPARE(pureClicks.count(), 1);
        QCOMPARE(grimtideClicks.count(), 2);
    }

    void windowIsMadeOnFirstUseShownModallyAndMadeAnewAfterClose()
    {
        int made = 0;
        WindowHolder<CountingWindow> holder([&] { return ++made, new CountingWindow; });
        holder.close(); // closing a window that does not exist does nothing
        CountingWindow& first = holder.get();
        QVERIFY(!first.isVisible() && holder.exists());
        QTimer::singleShot(50, &first, [&] {
            QCOMPARE(QApplication::activeModalWidget(), &first);
            first.hide();
        });
        ModalShow::exec(first); // returns once hidden
        QCOMPARE(first.windowModality(), Qt::NonModal);
        QCOMPARE(&holder.get(), &first); // hide keeps the window
        QPointer<CountingWindow> gone(&first);
        holder.close();
        QCOMPARE(gone->loads, 1);
        QCOMPARE(gone->unloads, 1);
        QCOMPARE(holder.get().loads, 1);
        QCOMPARE(made, 2);
        QTRY_VERIFY(gone.isNull());
    }
};

QTEST_MAIN(TestWindowServices)
#include "test_windowservices.moc"
