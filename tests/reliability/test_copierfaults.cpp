#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QTest>

#include <cerrno>
#include <dlfcn.h>

namespace {

// The fault shim's switch: once the call has gone through `allowed` times,
// it fails with the error; a null call disarms it.
using Arm = void (*)(const char* call, int allowed, int error);
Arm arm = nullptr;

} // namespace

class TestCopierFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        arm = reinterpret_cast<Arm>(dlsym(RTLD_DEFAULT, "grimtide_fault_arm"));
        if (!arm)
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aFailingCallFailsTheCopy_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("write, disk full") << QByteArray("write") << ENOSPC << FailureNumber::DiskFull << false;
        QTest::newRow("rename") << QByteArray("rename") << EIO << FailureNumber::DeviceIo << false;
        QTest::newRow("data sync") << QByteArray("fdatasync") << EIO << FailureNumber::DeviceIo << false;
        // The folder is synced after the rename: the new file is in place,
        // but it may not survive a power cut, and the player is told.
        QTest::newRow("folder sync") << QByteArray("fsync") << EIO << FailureNumber::DeviceIo << true;
    }

    void aFailingCallFailsTheCopy()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QFETCH(int, number);
        QFETCH(bool, replaced);
        TestFolder folder;
        const QString archives = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archives + QStringLiteral("/menu.rfa");
        const QString source = QStringLiteral("cons/cr/4/menu.rfa");
        Checks::writeBytes(target, "old archive");
        arm(call.constData(), 0, error);
        const int got = Checks::failureOf([&] { SafeFileCopier().copy(source, target); });
        arm(nullptr, 0, 0);
        QCOMPARE(got, number);
        QCOMPARE(Checks::bytesOf(target),
                 replaced ? Checks::bytesOf(folder.file(source)) : QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
    }

    void eachFailingCallOfASaveLeavesTheOldRow_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("number");
        QTest::newRow("write") << QByteArray("write") << EIO << FailureNumber::DeviceIo;
        QTest::newRow("write, disk full") << QByteArray("write") << ENOSPC << FailureNumber::DiskFull;
        QTest::newRow("sync") << QByteArray("fdatasync") << EIO << FailureNumber::DeviceIo;
        QTest::newRow("delete") << QByteArray("unlink") << EIO << FailureNumber::DeviceIo;
    }

    // Step by step, the n-th call of the kind fails, until a save gets
    // through with every call it makes.
    void eachFailingCallOfASaveLeavesTheOldRow()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QFETCH(int, number);
        const SettingsRecord newRow{QStringLiteral("Grimtide"), QStringLiteral("yes"), QStringLiteral("yes"),
                                    QStringLiteral("7"), QStringLiteral("3"), QStringLiteral("No"),
                                    QStringLiteral("/games/Battlefield 1942")};
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        const QList<SettingsRecord> oldRows = folder.storedRows();
        const QByteArray oldFile = Checks::bytesOf(folder.databaseFile());
        int failed = 0;
        for (;; ++failed) {
            Checks::writeBytes(folder.databaseFile(), oldFile);
            SettingsStore store(folder.databaseFile());
            arm(call.constData(), failed, error);
            const int got = Checks::failureOf([&] { store.save(newRow); });
            arm(nullptr, 0, 0);
            if (got == 0)
                break;
            QCOMPARE(got, number);
            QVERIFY(Checks::integrityOk(folder.databaseFile()));
            QCOMPARE(folder.storedRows(), oldRows);
            // The disk is good again: the same store saves at the next try.
            store.save(newRow);
            QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        }
        QVERIFY(failed > 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        qInfo("%d failing steps tried, 0 bad", failed);
    }
};

QTEST_GUILESS_MAIN(TestCopierFaults)
#include "test_copierfaults.moc"
