#include "support/Checks.h"
#include "support/RunningProgram.h"
#include "support/TestFolder.h"

#include <QApplication>
#include <QProcess>

#include <csignal>
#include <cstdio>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString childRole = u"--start-and-wait"_s, noOwnFolder = u"no runtime folder of one's own"_s;

QString ownRuntimeFolder()
{
    return QDir::tempPath() + u"/grimtide-switch-"_s + QString::number(::geteuid());
}

void plantRuntimeFolder(mode_t mode, uid_t owner = ::geteuid())
{
    const QByteArray folder = QFile::encodeName(ownRuntimeFolder());
    ::mkdir(folder.constData(), mode);
    ::chmod(folder.constData(), mode);
    if (::chown(folder.constData(), owner, owner) != 0) // another owner needs root
        QWARN("the runtime folder keeps its owner");
}

// What a crash, a power cut, another program or another user may leave at the lock's name
// (gtdb.inf.lock, one of each kind the lock tells apart) or at the runtime folder's.
const QMap<QString, std::function<void(const QString& lock)>> leftAtTheLock{
    {u"pipe"_s, [](const QString& lock) { Checks::plant(u"pipe"_s, lock); }},
    {u"dangling link"_s, [](const QString& lock) { QFile::link(lock + u".gone"_s, lock); }},
    {u"left by a killed copy"_s, // a plain file, and a socket; no destructor gives them back
     [](const QString&) {
         if (const pid_t child = ::fork(); child == 0)
             ::_exit(SingleInstance(QDir::currentPath()).isFirst() ? 0 : 1);
         ::wait(nullptr);
     }},
    {u"runtime folder open to all"_s, [](const QString&) { plantRuntimeFolder(0777); }},
    {u"runtime folder a link"_s,
     [](const QString&) { QFile::link(QDir::tempPath(), ownRuntimeFolder()); }},
    {u"runtime folder of another user"_s, [](const QString&) { plantRuntimeFolder(0700, 4242); }},
    {noOwnFolder,
     [](const QString&) {
         plantRuntimeFolder(0777);
         Checks::writeBytes(qEnvironmentVariable("XDG_CACHE_HOME"), "no folder");
     }},
};

} // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    // The runtime folders are this test's own, never the user's.
    void initTestCase() { qunsetenv("XDG_RUNTIME_DIR"); }
    void init()
    {
        runtimeFolders.emplace();
        qputenv("TMPDIR", QFile::encodeName(runtimeFolders->path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(runtimeFolders->filePath(u"cache"_s)));
    }

    void nothingLeftStopsAStartOrLetsASecondCopyRun_data()
    {
        QTest::addColumn<QString>("lock");
        for (const QString& lock : leftAtTheLock.keys())
            QTest::newRow(qPrintable(lock)) << lock;
    }

    // The second copy calls the first forward, or where it can't, ends all the same.
    void nothingLeftStopsAStartOrLetsASecondCopyRun()
    {
        QFETCH(QString, lock);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        leftAtTheLock[lock](folder.file(u"gtdb.inf.lock"_s));
        RunningProgram first;
        QVERIFY(first.start());
        first.main().hide();
        const auto entries = [] {
            return QDir::current().entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        };
        const QStringList before = entries();
        QVERIFY(!RunningProgram().start());
        QCOMPARE(entries(), before);
        QCOMPARE(QTest::qWaitFor([&] { return first.main().isVisible(); },
                                 lock == noOwnFolder ? 100 : 5000),
                 lock != noOwnFolder);
    }

    void aRequestHasOneAnswerAndACallWithoutOneComesForward_data()
    {
        QTest::addColumn<QByteArray>("request"); // none: the plain call of a later copy
        QTest::addColumn<bool>("answering");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<std::optional<QByteArray>>("answer");
        const std::optional<QByteArray> none;
        const QByteArray play = "play";
        QTest::newRow("answered") << QByteArray("play grimtide") << true
                                  << QStringList{u"asked: play grimtide"_s}
                                  << std::optional<QByteArray>("0 started");
        QTest::newRow("left unanswered") << play << false << QStringList{u"asked: play"_s} << none;
        QTest::newRow("too long for a line")
            << QByteArray(5000, 'x') << true << QStringList() << none;
        QTest::newRow("plain call") << QByteArray() << true << QStringList{u"called forward"_s}
                                    << std::optional<QByteArray>("took");
    }

    // No copy running takes no request.
    void aRequestHasOneAnswerAndACallWithoutOneComesForward()
    {
        QFETCH(QByteArray, request);
        QFETCH(bool, answering);
        QFETCH(QStringList, heard);
        QFETCH(std::optional<QByteArray>, answer);
        TestFolder folder;
        QCOMPARE(SingleInstance::ask(folder.path(), "play"), std::optional<QByteArray>());
        SingleInstance first(folder.path());
        QStringList told;
        connect(&first, &SingleInstance::calledForward, [&] { told << u"called forward"_s; });
        connect(&first, &SingleInstance::asked,
                [&](const QByteArray& line, const CallSocket::Answer& answerIt) {
                    told << u"asked: "_s + QString::fromLatin1(line);
                    if (answering)
                        answerIt("0 started");
                });
        auto asking = std::async(std::launch::async, [&]() -> std::optional<QByteArray> {
            if (request.isNull())
                return SingleInstance(folder.path()).firstTookTheCall() ? "took" : "refused";
            return SingleInstance::ask(folder.path(), request);
        });
        QTRY_VERIFY(asking.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
        QCOMPARE(asking.get(), answer);
        QTRY_COMPARE(told, heard);
    }

    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<bool>("locked"); // by another program, past the close's wait
        QTest::newRow("SIGTERM") << SIGTERM << false;
        QTest::newRow("SIGHUP") << SIGHUP << false;
        QTest::newRow("SIGINT") << SIGINT << false;
        QTest::newRow("SIGTERM, the settings locked") << SIGTERM << true;
    }

    // The child's record differs from the stored row: its packs read as "yes".
    void aSignalClosesTheMainWindowWithItsSaveAndWaitsForNobody()
    {
        QFETCH(int, signalNumber);
        QFETCH(bool, locked);
        TestFolder folder;
        TestFolder::Row row = folder.gameRow();
        row.rtr = u"Yes"_s;
        folder.writeSettings(row);
        QProcess child;
        child.setWorkingDirectory(folder.path());
        child.start(QCoreApplication::applicationFilePath(), {childRole});
        QVERIFY(child.waitForReadyRead(60000));
        std::optional<Checks::SettingsLock> otherProgram;
        if (locked)
            otherProgram.emplace(folder.databaseFile());
        ::kill(pid_t(child.processId()), signalNumber);
        QVERIFY(child.waitForFinished(60000)); // never waiting for a box's OK
        otherProgram.reset();
        QVERIFY(child.exitStatus() == QProcess::NormalExit && (child.exitCode() != 0) == locked);
        const QString report = u"We have a problem, Please report this error = unload3218 to: "
                               "" GRIMTIDE_CONTACT "\n"_s
                               + folder.databaseFile() + u" is locked by another program."_s;
        QCOMPARE(QString::fromLocal8Bit(child.readAllStandardError()).contains(report), locked);
        QCOMPARE(folder.storedRows().value(0).rtr, locked ? u"Yes"_s : u"yes"_s);
        QVERIFY(!QFileInfo::exists(folder.file(u"gtdb.inf.lock"_s)));
    }

    // Caught from the start: nothing saved, no Secure Mode archive written.
    void aSignalBeforeTheFirstWindowEndsTheStartWithNothingWritten()
    {
        TestFolder folder;
        folder.writeSettings({.secure = u"Yes"_s, .path = QDir::toNativeSeparators(folder.game())});
        const QByteArray stored = Checks::bytesOf(folder.databaseFile());
        TerminationSignals::catchEarly();
        ::raise(SIGTERM);
        QVERIFY(!RunningProgram().start());
        QVERIFY(Checks::bytesOf(folder.databaseFile()) == stored
                && !QFileInfo::exists(folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s));
    }

private:
    std::optional<QTemporaryDir> runtimeFolders;
};

// The child of the signal test: the program in its working folder, left be.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (!app.arguments().contains(childRole)) {
        TestSingleInstance test;
        return QTest::qExec(&test, argc, argv);
    }
    RunningProgram program;
    if (!program.start())
        return 3;
    std::puts("started");
    std::fflush(stdout);
    return QApplication::exec();
}

#include "test_singleinstance.moc"
