#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/KilledChild.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

#include <optional>

namespace {

constexpr int kills = 240;

// A kill lands anywhere from before the child's first call to several calls in.
std::chrono::microseconds randomDelay()
{
    return std::chrono::microseconds(QRandomGenerator::global()->bounded(20000));
}

SettingsRecord numbered(int n)
{
    return {QStringLiteral("Grimtide"), QStringLiteral("yes"), QStringLiteral("no"),
            QString::number(n % 20 + 1), QStringLiteral("2"), QStringLiteral("No"),
            QStringLiteral("/games/save ") + QString::number(n)};
}

} // namespace

// Killed, or refused by a full or read-only disk, a save or an install
// leaves the old file or the new one, never a mix.
class TestCrashes : public QObject {
    Q_OBJECT
private slots:
    void aKilledSaveLeavesTheLastSaveOrTheOneUnderWay()
    {
        TestFolder folder;
        const QString db = folder.databaseFile();
        SettingsStore(db).save(numbered(0));
        int stored = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const auto outcome = KilledChild::run(
                [&](const KilledChild::Report& report) {
                    SettingsStore store(db);
                    for (int n = stored + 1;; ++n) {
                        store.save(numbered(n));
                        report(n);
                    }
                },
                randomDelay());
            QVERIFY(outcome.killed);
            const int returned = std::max(stored, outcome.lastStep);
            const SettingsRecord loaded = SettingsStore(db).load().record;
            QVERIFY(Checks::integrityOk(db));
            QCOMPARE(folder.storedRows().size(), 1);
            QVERIFY2(loaded == numbered(returned) || loaded == numbered(returned + 1),
                     qPrintable(loaded.path));
            stored = loaded == numbered(returned) ? returned : returned + 1;
        }
    }

    void aKilledInstallLeavesTheOldOrTheNewFile()
    {
        TestFolder folder;
        const QList<QByteArray> archives{QByteArray(3 << 19, 'a'), QByteArray(700 << 10, 'b')};
        const QStringList sources{QStringLiteral("cons/cr/1/menu.rfa"), QStringLiteral("cons/cr/2/menu.rfa")};
        for (int i = 0; i < 2; ++i)
            Checks::writeBytes(folder.file(sources[i]), archives[i]);
        const QString archivesFolder = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archivesFolder + QStringLiteral("/menu.rfa");
        Checks::writeBytes(target, "old archive");
        for (int kill = 0; kill < kills; ++kill) {
            const auto outcome = KilledChild::run(
                [&](const KilledChild::Report&) {
                    for (int n = 0;; ++n)
                        SafeFileCopier().copy(sources[n % 2], target);
                },
                randomDelay());
            QVERIFY(outcome.killed);
            const QByteArray now = Checks::bytesOf(target);
            QVERIFY(now == "old archive" || archives.contains(now));
            // The next install removes what a killed one left.
            SafeFileCopier().copy(sources[kill % 2], target);
            QCOMPARE(Checks::copierTemporariesIn(archivesFolder), QStringList());
            QCOMPARE(Checks::bytesOf(target), archives[kill % 2]);
        }
    }

    void aRefusedWriteChangesNothing_data()
    {
        QTest::addColumn<bool>("fullDisk"); // or else read-only
        QTest::addColumn<bool>("save");     // or else an archive install
        QTest::addColumn<int>("number");
        QTest::newRow("save, full disk") << true << true << FailureNumber::DiskFull;
        QTest::newRow("install, full disk") << true << false << FailureNumber::DiskFull;
        QTest::newRow("save, read-only") << false << true << FailureNumber::PermissionDenied;
        QTest::newRow("install, read-only") << false << false << FailureNumber::PermissionDenied;
    }

    void aRefusedWriteChangesNothing()
    {
        QFETCH(bool, fullDisk);
        QFETCH(bool, save);
        QFETCH(int, number);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        Checks::writeBytes(folder.file(QStringLiteral("cons/rt/2/game.rfa")), QByteArray(1 << 20, 'r'));
        const QString prepared = folder.file(QStringLiteral("prepared"));
        QDir().mkpath(prepared);
        QFile::copy(folder.databaseFile(), prepared + QStringLiteral("/gtdb.inf"));
        Checks::writeBytes(prepared + QStringLiteral("/game.rfa"), "old archive");
        const QString disk = folder.file(QStringLiteral("disk"));
        std::optional<ScratchMount> mount;
        fullDisk ? mount.emplace(disk, 128) : mount.emplace(prepared, disk);
        if (!mount->mounted())
            QSKIP(ScratchMount::skipReason());
        const QString db = disk + QStringLiteral("/gtdb.inf");
        const QString archive = disk + QStringLiteral("/game.rfa");
        if (fullDisk) {
            QFile::copy(prepared + QStringLiteral("/gtdb.inf"), db);
            QFile::copy(prepared + QStringLiteral("/game.rfa"), archive);
            QFile filler(disk + QStringLiteral("/filler")); // takes the last free block
            filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            while (filler.write(QByteArray(1024, 'f')) == 1024) {
            }
        }
        const QByteArray dbBefore = Checks::bytesOf(db);
        const int got = Checks::failureOf([&] {
            if (save)
                SettingsStore(db).save(numbered(1));
            else
                SafeFileCopier().copy(QStringLiteral("cons/rt/2/game.rfa"), archive);
        });
        QCOMPARE(got, number);
        QCOMPARE(Checks::bytesOf(db), dbBefore);
        QVERIFY(!QFile::exists(db + QStringLiteral("-journal")));
        QCOMPARE(Checks::bytesOf(archive), QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(disk), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCrashes)
#include "test_crashes.moc"
