#include "core/common/ErrorReport.h"
#include "core/common/Failure.h"
#include "core/common/NumberText.h"
#include "core/app/TrayIconRecord.h"
#include "support/RecordingSink.h"

#include <QTest>

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
        const auto plainer = [&](int number) {
            if (number != FailureNumber::PathNotFound)
                return false;
            sink.show(QStringLiteral("Please check your options"));
            return true;
        };
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::PathNotFound); }, plainer);
        report.trap(QStringLiteral("msetp"), [] { throw Failure(FailureNumber::FileNotFound); }, plainer);
        QCOMPARE(sink.messages, (QStringList{QStringLiteral("Please check your options"),
                                             ErrorReport::text(QStringLiteral("msetp"), 53)}));
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

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_errorreport.moc"
