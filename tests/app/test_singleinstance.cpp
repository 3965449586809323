#include "core/platform/SingleInstance.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "gui/crosshair/Form3.h"
#include "gui/widgets/ImageCombo.h"
#include "support/FakeTray.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString lockName = QStringLiteral("gtdb.inf.lock");
const QString childRole = QStringLiteral("--pick-cancel-and-wait");

enum class Lock { Missing, Empty, Junk, Pipe, Folder, DanglingLink, LeftByKilledCopy, ReadOnly };

// What a crash, a power cut or another program may leave at the lock's name.
void plant(Lock kind, const QString& folder)
{
    const QString path = QDir(folder).filePath(lockName);
    QFile file(path);
    switch (kind) {
    case Lock::Empty:
    case Lock::Junk:
        file.open(QIODevice::WriteOnly);
        file.write(kind == Lock::Junk ? "junk 4711 otherhost\n" : "");
        break;
    case Lock::Pipe:
        ::mkfifo(QFile::encodeName(path).constData(), 0600);
        break;
    case Lock::Folder:
        QDir().mkpath(path);
        break;
    case Lock::DanglingLink:
        QFile::link(QDir(folder).filePath(QStringLiteral("gone")), path);
        break;
    case Lock::LeftByKilledCopy:
        if (const pid_t child = ::fork(); child == 0) {
            const SingleInstance killed(folder);
            ::_exit(killed.isFirst() ? 0 : 1); // no destructor gives anything back
        } else {
            ::waitpid(child, nullptr, 0);
        }
        break;
    case Lock::Missing:
    case Lock::ReadOnly:
        break;
    }
}

bool reachesMainWindow(Program& program, const FakeTray& tray)
{
    return program.start() && QTest::qWaitFor([&] { return tray.shown; }, 30000);
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
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
        QTest::addColumn<Lock>("lock");
        QTest::newRow("no lock file") << Lock::Missing;
        QTest::newRow("empty") << Lock::Empty;
        QTest::newRow("junk") << Lock::Junk;
        QTest::newRow("pipe") << Lock::Pipe;
        QTest::newRow("folder") << Lock::Folder;
        QTest::newRow("dangling link") << Lock::DanglingLink;
        QTest::newRow("left by a killed copy") << Lock::LeftByKilledCopy;
        QTest::newRow("read-only folder") << Lock::ReadOnly;
    }

    void nothingAtTheLockStopsAStartAndASecondCallsTheFirstForward()
    {
        QFETCH(Lock, lock);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        std::optional<ScratchMount> view;
        if (lock == Lock::ReadOnly) {
            const QString readOnly = folder.file(QStringLiteral("ro"));
            view.emplace(ScratchMount::readOnlyView(folder.path(), readOnly));
            if (!view->mounted())
                QSKIP(ScratchMount::skipReason());
            QDir::setCurrent(readOnly);
        }
        plant(lock, QDir::currentPath());

        FakeTray firstTray;
        auto first = std::make_unique<Program>(firstTray);
        QVERIFY(reachesMainWindow(*first, firstTray));
        Form2& main = first->module().form2();
        main.hide();
        const QStringList entries = entriesOf(QDir::currentPath());
        {
            FakeTray secondTray;
            Program second(secondTray);
            QVERIFY(!second.start());
        }
        QCOMPARE(entriesOf(QDir::currentPath()), entries);
        QVERIFY(QTest::qWaitFor([&] { return main.isVisible(); }));
        first.reset();
        QVERIFY(!QFileInfo(lockName).isFile());
    }

    void aTerminationSignalClosesTheMainWindowWithItsSave_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void aTerminationSignalClosesTheMainWindowWithItsSave()
    {
        QFETCH(int, signalNumber);
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
