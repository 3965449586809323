#include "core/platform/SingleInstance.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "support/FakeTray.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString lockName = QStringLiteral("gtdb.inf.lock");
const QString childRole = QStringLiteral("--pick-and-wait");

// What a crash, a power cut or another program may leave at the lock's name:
// one of each kind the lock tells apart (a read-only folder fails as the link does).
const QMap<QString, std::function<void(const QString& lock)>> leftAtTheLock{
    {u"pipe"_s, [](const QString& lock) { ::mkfifo(QFile::encodeName(lock).constData(), 0600); }},
    {u"dangling link"_s, [](const QString& lock) { QFile::link(lock + u".gone"_s, lock); }},
    {u"left by a killed copy"_s, // a plain file, and a socket
     [](const QString&) {
         const pid_t child = ::fork();
         if (child == 0) // no destructor gives anything back
             ::_exit(SingleInstance(QDir::currentPath()).isFirst() ? 0 : 1);
         ::waitpid(child, nullptr, 0);
     }},
};

bool reachesMainWindow(Program& program, const FakeTray& tray)
{
    return program.start() && QTest::qWaitFor([&] { return tray.shown; }, 30000);
}

// The child of the signal test: the program in its working folder, with a
// crosshair picked but not saved yet, left be.
int pickAndWait()
{
    FakeTray tray;
    Program program(tray);
    if (!reachesMainWindow(program, tray))
        return 3;
    program.module().state.settings.cr = u"4"_s;
    std::puts("picked");
    std::fflush(stdout);
    return QApplication::exec();
}

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void nothingAtTheLockStopsAStartAndASecondCallsTheFirstForward_data()
    {
        QTest::addColumn<QString>("lock");
        for (const QString& lock : leftAtTheLock.keys())
            QTest::newRow(qPrintable(lock)) << lock;
    }

    void nothingAtTheLockStopsAStartAndASecondCallsTheFirstForward()
    {
        QFETCH(QString, lock);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        leftAtTheLock[lock](QDir::current().filePath(lockName));
        FakeTray firstTray;
        Program first(firstTray);
        QVERIFY(reachesMainWindow(first, firstTray));
        Form2& main = first.module().form2();
        main.hide();
        const auto entriesHere = [] {
            return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        };
        const QStringList entries = entriesHere();
        {
            FakeTray secondTray;
            QVERIFY(!Program(secondTray).start());
        }
        QCOMPARE(entriesHere(), entries);
        QVERIFY(QTest::qWaitFor([&] { return main.isVisible(); }));
    }

    void aTerminationSignalClosesTheMainWindowWithItsSave()
    {
        for (int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
            TestFolder folder;
            folder.writeSettings(folder.gameRow());
            QProcess child;
            child.setWorkingDirectory(folder.path());
            child.start(QCoreApplication::applicationFilePath(), {childRole});
            QVERIFY(child.waitForReadyRead(60000));
            ::kill(pid_t(child.processId()), signalNumber);
            QVERIFY(child.waitForFinished(60000));
            QVERIFY(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0);
            QCOMPARE(folder.storedRows().value(0).cr, u"4"_s);
            QVERIFY(!QFileInfo::exists(folder.file(lockName)));
        }
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains(childRole))
        return pickAndWait();
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_singleinstance.moc"
