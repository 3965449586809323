#include "FaultyVfs.h"
#include "core/common/Failure.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QTest>

namespace {

const SettingsRecord newRow{QStringLiteral("Grimtide"), QStringLiteral("yes"),
                            QStringLiteral("yes"),      QStringLiteral("7"),
                            QStringLiteral("3"),        QStringLiteral("No"),
                            QStringLiteral("/games/Battlefield 1942")};

} // namespace

class TestSettingsFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { FaultyVfs::install(); }

    void eachFailingCallLeavesTheOldRow_data()
    {
        QTest::addColumn<FaultyVfs::Call>("call");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<int>("number");
        QTest::newRow("write") << FaultyVfs::Call::Write << false << FailureNumber::DeviceIo;
        QTest::newRow("write, disk full") << FaultyVfs::Call::Write << true << FailureNumber::DiskFull;
        QTest::newRow("sync") << FaultyVfs::Call::Sync << false << FailureNumber::DeviceIo;
        QTest::newRow("delete") << FaultyVfs::Call::Delete << false << FailureNumber::DeviceIo;
    }

    // Step by step, the n-th call of the kind fails, until a save gets
    // through with every call it makes.
    void eachFailingCallLeavesTheOldRow()
    {
        QFETCH(FaultyVfs::Call, call);
        QFETCH(bool, fullDisk);
        QFETCH(int, number);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        const QList<SettingsRecord> oldRows = folder.storedRows();
        const QByteArray oldFile = Checks::bytesOf(folder.databaseFile());
        int failed = 0;
        for (int allowed = 0;; ++allowed) {
            Checks::writeBytes(folder.databaseFile(), oldFile);
            SettingsStore store(folder.databaseFile());
            FaultyVfs::arm(call, allowed, fullDisk);
            const int got = Checks::failureOf([&] { store.save(newRow); });
            FaultyVfs::disarm();
            if (got == 0)
                break;
            ++failed;
            QCOMPARE(got, number);
            QVERIFY(Checks::integrityOk(folder.databaseFile()));
            QCOMPARE(folder.storedRows(), oldRows);
            // The disk is good again: the same store saves at the next try.
            store.save(newRow);
            QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        }
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        QVERIFY(FaultyVfs::calls() > 0);
        qInfo("%d failing steps tried, 0 bad; a save makes %d calls of this kind", failed,
              FaultyVfs::calls());
    }
};

QTEST_GUILESS_MAIN(TestSettingsFaults)
#include "test_settingsfaults.moc"
