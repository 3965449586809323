#include "core/common/Failure.h"
#include "core/platform/SingleInstance.h"
#include "core/platform/TerminationSignals.h"
#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "support/Checks.h"
#include "support/FakeTray.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString lockName = QStringLiteral("gtdb.inf.lock");
// The child of the signal tests picks a crosshair and waits for the signal,
// or has it before its first window.
const QString pickRole = QStringLiteral("--pick-and-wait");
const QString earlyRole = QStringLiteral("--signalled-early");

QString ownRuntimeFolder()
{
    return QDir::tempPath() + u"/grimtide-switch-"_s + QString::number(::geteuid());
}

void makeOpenToAll(const QString& folder)
{
    QDir().mkdir(folder);
    ::chmod(QFile::encodeName(folder).constData(), 0777);
}

// What a crash, a power cut, another program or another user may leave at
// the lock's name (one of each kind the lock tells apart; a read-only folder
// fails as the link does) or at the runtime folder's; and whether the
// second copy can call the first then, or ends on the lock alone.
const struct {
    const char* name;
    std::function<void(const QString& lock)> plant;
    bool called;
} planted[] = {
    {"pipe at the lock",
     [](const QString& lock) { ::mkfifo(QFile::encodeName(lock).constData(), 0600); }, true},
    {"dangling link at the lock", [](const QString& lock) { QFile::link(lock + u".gone"_s, lock); },
     true},
    {"left by a killed copy", // a plain file, and a socket
     [](const QString&) {
         const pid_t child = ::fork();
         if (child == 0) // no destructor gives anything back
             ::_exit(SingleInstance(QDir::currentPath()).isFirst() ? 0 : 1);
         ::waitpid(child, nullptr, 0);
     },
     true},
    {"runtime folder open to all", [](const QString&) { makeOpenToAll(ownRuntimeFolder()); }, true},
    {"runtime folder a link to a private one",
     [](const QString& lock) {
         QDir().mkdir(lock + u".elsewhere"_s,
                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
         QFile::link(lock + u".elsewhere"_s, ownRuntimeFolder());
     },
     true},
    {"runtime folder of another user",
     [](const QString&) {
         const QByteArray folder = QFile::encodeName(ownRuntimeFolder());
         ::mkdir(folder.constData(), 0700);
         ::chown(folder.constData(), 4242, 4242);
     },
     true},
    {"no private folder anywhere",
     [](const QString&) {
         makeOpenToAll(ownRuntimeFolder());
         Checks::writeBytes(qEnvironmentVariable("XDG_CACHE_HOME"), "a file where the cache was");
     },
     false},
};

bool reachesMainWindow(Program& program, const FakeTray& tray)
{
    return program.start() && QTest::qWaitFor([&] { return tray.shown; }, 30000);
}

// The child of the signal tests: the program in its working folder, with a
// crosshair picked but not saved yet, left be.
int pickAndWait()
{
    FakeTray tray;
    Program program(tray);
    if (!program.start())
        return 0;
    if (!QTest::qWaitFor([&] { return tray.shown; }, 30000))
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
    // The runtime folders are this test's own, never the user's.
    void initTestCase()
    {
        qputenv("TMPDIR", QFile::encodeName(scratch.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(scratch.filePath(u"cache"_s)));
        qunsetenv("XDG_RUNTIME_DIR");
    }

    void init()
    {
        for (const QString& folder : {ownRuntimeFolder(), scratch.filePath(u"cache"_s)}) {
            QFile::remove(folder);
            QDir(folder).removeRecursively();
        }
    }

    void nothingPlantedStopsAStartOrLetsASecondCopyRun_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(planted)); ++row)
            QTest::newRow(planted[row].name) << row;
    }

    void nothingPlantedStopsAStartOrLetsASecondCopyRun()
    {
        QFETCH(int, row);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        planted[row].plant(QDir::current().filePath(lockName));
        FakeTray firstTray;
        Program first(firstTray);
        QVERIFY(reachesMainWindow(first, firstTray));
        Form2& main = first.module().form2();
        main.hide();
        const auto entriesHere = [] {
            return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        };
        const QStringList entries = entriesHere();
        QTemporaryFile said; // the second copy's standard error
        const int standardError = ::dup(STDERR_FILENO);
        QVERIFY(said.open() && ::dup2(said.handle(), STDERR_FILENO) >= 0);
        {
            FakeTray secondTray;
            QVERIFY(!Program(secondTray).start());
        }
        ::dup2(standardError, STDERR_FILENO);
        said.seek(0);
        QCOMPARE(said.readAll().count('\n'), planted[row].called ? 0 : 1);
        QCOMPARE(entriesHere(), entries);
        QCOMPARE(
            QTest::qWaitFor([&] { return main.isVisible(); }, planted[row].called ? 5000 : 100),
            planted[row].called);
    }

    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("locked"); // by another program, past the close's wait
        QTest::newRow("SIGTERM") << pickRole << SIGTERM << false;
        QTest::newRow("SIGHUP") << pickRole << SIGHUP << false;
        QTest::newRow("SIGINT") << pickRole << SIGINT << false;
        QTest::newRow("SIGTERM, the settings locked") << pickRole << SIGTERM << true;
        QTest::newRow("SIGTERM before the first window") << earlyRole << SIGTERM << false;
    }

    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody()
    {
        QFETCH(QString, role);
        QFETCH(int, signalNumber);
        QFETCH(bool, locked);
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.secure = u"Yes"_s; // a start writes into the game
        folder.writeSettings(row);
        const auto everything = [&] {
            QStringList all;
            for (QDirIterator it(folder.path(), QDir::AllEntries | QDir::Hidden | QDir::System,
                                 QDirIterator::Subdirectories);
                 it.hasNext();)
                all << it.next();
            return all;
        };
        const QStringList before = everything();
        QProcess child;
        child.setWorkingDirectory(folder.path());
        child.start(QCoreApplication::applicationFilePath(), {role});
        sqlite3* locker = nullptr;
        if (role == pickRole) {
            QVERIFY(child.waitForReadyRead(60000));
            if (locked) {
                sqlite3_open(folder.databaseFile().toUtf8().constData(), &locker);
                sqlite3_exec(locker, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            }
            ::kill(pid_t(child.processId()), signalNumber);
        }
        QVERIFY(child.waitForFinished(60000)); // never waiting for a box's OK
        sqlite3_close(locker);
        QVERIFY(child.exitStatus() == QProcess::NormalExit && (child.exitCode() != 0) == locked);
        const QString report = Checks::report(u"unload"_s, FailureNumber::DatabaseLocked,
                                              QDir::toNativeSeparators(folder.databaseFile()));
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardError()).contains(report), locked);
        if (role == earlyRole)
            QCOMPARE(everything(), before);
        else
            QCOMPARE(folder.storedRows().value(0).cr, locked ? u"1"_s : u"4"_s);
        QVERIFY(!QFileInfo::exists(folder.file(lockName)));
    }

private:
    QTemporaryDir scratch;
};

int main(int argc, char* argv[])
{
    if (argc > 1 && QLatin1StringView(argv[1]) == earlyRole) {
        TerminationSignals::catchEarly();
        ::raise(SIGTERM);
    }
    QApplication app(argc, argv);
    if (app.arguments().contains(pickRole) || app.arguments().contains(earlyRole))
        return pickAndWait();
    TestSingleInstance test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_singleinstance.moc"
