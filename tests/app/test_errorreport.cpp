#include "core/common/ErrorReport.h"
#include "gui/widgets/MessageBoxSink.h"
#include "core/common/Failure.h"
#include "core/common/NumberText.h"
#include "core/app/TrayIconRecord.h"
#include "support/RecordingSink.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

class TestErrorReport : public QObject {
    Q_OBJECT
private slots:
    void reportGluesTheNumberToTheTag()
    {
        const QString address = QStringLiteral(GRIMTIDE_CONTACT);
        QCOMPARE(ErrorReport::text(QStringLiteral("timer1"), 53),
                 QStringLiteral("We have a problem, Please report this error = timer153 to: ")
                     + address);
        QCOMPARE(ErrorReport::text(QStringLiteral("3command1"), -2147),
                 QStringLiteral("We have a problem, Please report this error = 3command1-2147 to: ")
                     + address);
    }

    void trapEndsTheBodyWithOneMessage()
    {
        RecordingSink sink;
        ErrorReport report(sink);
        bool after = false;
        QVERIFY(!report.trap(QStringLiteral("check1"), [&] {
            throw Failure(FailureNumber::DiskFull);
            after = true;
        }));
        QVERIFY(!after);
        QCOMPARE(sink.messages, QStringList{ErrorReport::text(QStringLiteral("check1"), 61)});

        QVERIFY(report.trap(QStringLiteral("check1"), [] {}));
        QCOMPARE(sink.messages.size(), 1);
    }

    void plainerMessageReplacesTheReportForItsNumberOnly()
    {
        RecordingSink sink;
        ErrorReport report(sink);
        const ErrorReport::PlainerMessage plainer{FailureNumber::PathNotFound,
                                                  QStringLiteral("Please check your options")};
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::PathNotFound); }, plainer);
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::FileNotFound); }, plainer);
        QCOMPARE(sink.messages, (QStringList{QStringLiteral("Please check your options"),
                                             ErrorReport::text(QStringLiteral("msetp"), 53)}));
    }

    void aReportBoxNeverBreaksTheAddress()
    {
        const QString report = ErrorReport::text(QStringLiteral("msetu"), 76);
        const QString address = QStringLiteral(GRIMTIDE_CONTACT);
        // True when the text, laid out at that width, keeps the address on one line.
        const auto addressWhole = [&](const QLabel& label, int width) {
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
        };
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
        MessageBoxSink().show(report);
        QCOMPARE(broken, QStringList());
    }

    void numbersReadFromText()
    {
        QCOMPARE(NumberText::read(QStringLiteral("7")), 7.0);
        QCOMPARE(NumberText::read(QStringLiteral("2.5")), 2.5);
        QCOMPARE(NumberText::read(QStringLiteral("-3")), -3.0);
        for (const QString& bad : {QString(), QStringLiteral("x"), QStringLiteral("7a"),
                                   QStringLiteral("inf")}) {
            try {
                NumberText::read(bad);
                QFAIL(qPrintable(QStringLiteral("read as a number: ") + bad));
            } catch (const Failure& failure) {
                QCOMPARE(failure.number(), FailureNumber::TypeMismatch);
            }
        }
    }

    void trayTipIsAZeroEndedFieldOf64()
    {
        TrayIconRecord record;
        record.setTip(QStringLiteral("Unpure"));
        QCOMPARE(record.tip(), QStringLiteral("Unpure"));
        QCOMPARE(record.tipBytes.size(), TrayIconRecord::tipField);
        QCOMPARE(record.tipBytes.at(6), '\0');
        QCOMPARE(record.tipBytes.back(), ' ');
        record.setTip(QString(100, QLatin1Char('t')));
        QCOMPARE(record.tip().size(), 63);
        QCOMPARE(record.tipBytes.size(), TrayIconRecord::tipField);
    }
};

QTEST_MAIN(TestErrorReport)
#include "test_errorreport.moc"
