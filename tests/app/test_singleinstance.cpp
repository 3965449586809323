#include "core/platform/SingleInstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/wait.h>
#include <unistd.h>

class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void aSecondCopyInTheFolderCallsTheFirstForward()
    {
        QTemporaryDir folder;
        QTemporaryDir otherFolder;
        SingleInstance first(folder.path());
        QVERIFY(first.isFirst());
        QSignalSpy called(&first, &SingleInstance::calledForward);
        QVERIFY(!SingleInstance(folder.path()).isFirst());
        QVERIFY(called.wait());
        QVERIFY(SingleInstance(otherFolder.path()).isFirst());
        first.release();
        QVERIFY(SingleInstance(folder.path()).isFirst());
    }

    void aLockLeftByAKilledCopyIsTakenOver()
    {
        QTemporaryDir folder;
        const pid_t child = ::fork();
        if (child == 0) {
            // Ends as a killed copy would: no destructor gives the lock back.
            const SingleInstance killed(folder.path());
            ::_exit(killed.isFirst() ? 0 : 1);
        }
        int status = -1;
        ::waitpid(child, &status, 0);
        QCOMPARE(status, 0);
        QVERIFY(QFile::exists(folder.filePath(QStringLiteral("gtdb.inf.lock"))));
        SingleInstance next(folder.path());
        QVERIFY(next.isFirst());
        QSignalSpy called(&next, &SingleInstance::calledForward);
        QVERIFY(!SingleInstance(folder.path()).isFirst());
        QVERIFY(called.wait());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
