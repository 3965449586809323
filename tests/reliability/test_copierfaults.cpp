#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QTest>

class TestCopierFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!qEnvironmentVariable("LD_PRELOAD").contains(QStringLiteral("faultshim")))
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aFailingCallFailsTheCopy_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("write, disk full") << QByteArray("write") << FailureNumber::DiskFull << false;
        QTest::newRow("rename") << QByteArray("rename") << FailureNumber::DeviceIo << false;
        QTest::newRow("data sync") << QByteArray("fdatasync") << FailureNumber::DeviceIo << false;
        // The folder is synced after the rename: the new file is in place,
        // but it may not survive a power cut, and the player is told.
        QTest::newRow("folder sync") << QByteArray("fsync") << FailureNumber::DeviceIo << true;
    }

    void aFailingCallFailsTheCopy()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, number);
        QFETCH(bool, replaced);
        TestFolder folder;
        const QString archives = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archives + QStringLiteral("/menu.rfa");
        const QString source = QStringLiteral("cons/cr/4/menu.rfa");
        Checks::writeBytes(target, "old archive");
        qputenv("GRIMTIDE_FAULT", call);
        const int got = Checks::failureOf([&] { SafeFileCopier().copy(source, target); });
        qunsetenv("GRIMTIDE_FAULT");
        QCOMPARE(got, number);
        QCOMPARE(Checks::bytesOf(target),
                 replaced ? Checks::bytesOf(folder.file(source)) : QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCopierFaults)
#include "test_copierfaults.moc"
