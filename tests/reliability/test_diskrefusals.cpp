#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const SettingsRecord newRow{QStringLiteral("Grimtide"), QStringLiteral("no"),
                            QStringLiteral("yes"),      QStringLiteral("9"),
                            QStringLiteral("1"),        QStringLiteral("Yes"),
                            QStringLiteral("/games/Battlefield 1942")};

// Takes the last free block of the file system the folder is on.
void fillUp(const QString& folder)
{
    QFile filler(folder + QStringLiteral("/filler"));
    filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const QByteArray block(1024, 'f');
    while (filler.write(block) == block.size()) {
    }
}

enum class Refusal { FullDisk, ReadOnly };

} // namespace

class TestDiskRefusals : public QObject {
    Q_OBJECT
private slots:
    void aRefusedWriteChangesNothing_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::addColumn<bool>("save"); // the save, or else an archive install
        QTest::addColumn<int>("number");
        QTest::newRow("save, full disk") << Refusal::FullDisk << true << FailureNumber::DiskFull;
        QTest::newRow("install, full disk") << Refusal::FullDisk << false << FailureNumber::DiskFull;
        QTest::newRow("save, read-only") << Refusal::ReadOnly << true << FailureNumber::PermissionDenied;
        QTest::newRow("install, read-only") << Refusal::ReadOnly << false << FailureNumber::PermissionDenied;
    }

    void aRefusedWriteChangesNothing()
    {
        QFETCH(Refusal, refusal);
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
        ScratchMount mount = refusal == Refusal::FullDisk ? ScratchMount::smallTmpfs(disk, 128)
                                                          : ScratchMount::readOnlyView(prepared, disk);
        if (!mount.mounted())
            QSKIP(ScratchMount::skipReason());
        if (refusal == Refusal::FullDisk) {
            for (const char* name : {"/gtdb.inf", "/game.rfa"})
                QFile::copy(prepared + QLatin1String(name), disk + QLatin1String(name));
            fillUp(disk);
        }
        const QString db = disk + QStringLiteral("/gtdb.inf");
        const QString archive = disk + QStringLiteral("/game.rfa");
        const QByteArray dbBefore = Checks::bytesOf(db);
        const int got = Checks::failureOf([&] {
            if (save)
                SettingsStore(db).save(newRow);
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

QTEST_GUILESS_MAIN(TestDiskRefusals)
#include "test_diskrefusals.moc"
