#include "core/platform/SingleInstance.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/FakeTray.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString lockName = QStringLiteral("gtdb.inf.lock");
const QString childRole = QStringLiteral("--pick-cancel-and-wait");
const QString readOnly = QStringLiteral("read-only folder");

// What a crash, a power cut or another program may leave at the lock's name.
const QMap<QString, std::function<void(const QString& lock)>> leftAtTheLock{
    {QStringLiteral("no lock file"), [](const QString&) {}},
    {readOnly, [](const QString&) {}},
    {QStringLiteral("empty"), [](const QString& lock) { QFile(lock).open(QIODevice::WriteOnly); }},
    {QStringLiteral("junk"),
     [](const QString& lock) {
         QFile file(lock);
         file.open(QIODevice::WriteOnly);
         file.write("junk 4711 otherhost\n");
     }},
    {QStringLiteral("pipe"), [](const QString& lock) { ::mkfifo(QFile::encodeName(lock).constData(), 0600); }},
    {QStringLiteral("folder"), [](const QString& lock) { QDir().mkpath(lock); }},
    {QStringLiteral("dangling link"), [](const QString& lock) { QFile::link(lock + QStringLiteral(".gone"), lock); }},
    {QStringLiteral("left by a killed copy"),
     [](const QString&) {
         if (const pid_t child = ::fork(); child == 0) {
             const SingleInstance killed(QDir::currentPath());
             ::_exit(killed.isFirst() ? 0 : 1); // no destructor gives anything back
         } else {
             ::waitpid(child, nullptr, 0);
         }
     }},
};

bool reachesMainWindow(Program& program, const FakeTray& tray)
{
    return program.start() && QTest::qWaitFor([&] { return tray.shown; }, 30000);
}

QStringList entriesHere()
{
    return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
}

// The child of the signal test: the program in its working folder, where the
// player picks crosshair 4 in the chooser and cancels, then leaves it be.
int pickCancelAndWait()
{
    FakeTray tray;
    Program program(tray);
    if (!reachesMainWindow(program, tray))
        return 3;
    Form3& chooser = program.module().form3();
    chooser.show();
    while (chooser.ImageCombo1->selectedPosition() < 4)
        QTest::keyClick(chooser.ImageCombo1, Qt::Key_Down);
    chooser.Command2->click();
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
        std::optional<ScratchMount> view;
        if (lock == readOnly) {
            view.emplace(folder.path(), folder.file(QStringLiteral("ro")));
            if (!view->mounted())
                QSKIP(ScratchMount::skipReason());
            QDir::setCurrent(folder.file(QStringLiteral("ro")));
        }
        leftAtTheLock[lock](QDir::current().filePath(lockName));
        FakeTray firstTray;
        auto first = std::make_unique<Program>(firstTray);
        QVERIFY(reachesMainWindow(*first, firstTray));
        Form2& main = first->module().form2();
        main.hide();
        const QStringList entries = entriesHere();
        {
            FakeTray secondTray;
            QVERIFY(!Program(secondTray).start());
        }
        QCOMPARE(entriesHere(), entries);
        QVERIFY(QTest::qWaitFor([&] { return main.isVisible(); }));
        first.reset();
        QVERIFY(!QFileInfo(lockName).isFile());
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
            QCOMPARE(child.readAllStandardOutput(), QByteArray("picked\n"));
            ::kill(pid_t(child.processId()), signalNumber);
            QVERIFY(child.waitForFinished(60000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QCOMPARE(child.exitCode(), 0);
            QCOMPARE(folder.storedRows().value(0).cr, QStringLiteral("4"));
            QVERIFY(!QFileInfo::exists(folder.file(lockName)));
        }
    }
};

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (app.arguments().contains(childRole))
        return pickCancelAndWait();
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_singleinstance.moc"
