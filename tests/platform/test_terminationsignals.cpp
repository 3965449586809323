#include "support/TestFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

const QByteArray unansweredLine =
    "grimtide-switch: the close could not run: the window did not answer the signal in time.\n";

bool hasThread(qint64 pid, const QByteArray& name)
{
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + u"/comm"_s));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == name)
            return true;
    }
    return false;
}

} // namespace

class TestTerminationSignals : public QObject {
    Q_OBJECT
private slots:
    // On an X screen Qt's accessibility calls the bus at the first window, and waits for good.
    void aFrozenBusBeforeTheStartHoldsNoSignal()
    {
        QProcess screen, bus, program;
        screen.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(screen.waitForReadyRead(10000) && bus.waitForReadyRead(10000));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"DISPLAY"_s, u':' + QString::fromLatin1(screen.readLine().trimmed()));
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                           QString::fromLatin1(bus.readLine().trimmed()));
        ::kill(pid_t(bus.processId()), SIGSTOP);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(GRIMTIDE_SWITCH_PROGRAM), {});
        // Qt's bus thread comes with the window thread's first call to the bus.
        QTRY_VERIFY_WITH_TIMEOUT(hasThread(program.processId(), "QDBusConnection"), 30000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE_LT(sinceSignal.elapsed(), 2000);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().endsWith(unansweredLine));
        ::kill(pid_t(bus.processId()), SIGCONT);
    }
};

QTEST_GUILESS_MAIN(TestTerminationSignals)
#include "test_terminationsignals.moc"
