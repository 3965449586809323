#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/KilledChild.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QRandomGenerator>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kills = 240;

// A kill lands anywhere from before the child's first call to several calls in.
std::chrono::microseconds randomDelay()
{
    return std::chrono::microseconds(QRandomGenerator::global()->bounded(20000));
}

SettingsRecord numbered(int n)
{
    return {u"Grimtide"_s,
            u"yes"_s,
            u"no"_s,
            QString::number(n % 20 + 1),
            u"2"_s,
            u"No"_s,
            u"/games/save "_s + QString::number(n)};
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
                    for (int n = stored + 1;; report(n++))
                        store.save(numbered(n));
                },
                randomDelay());
            const int returned = std::max(stored, outcome.lastStep);
            const SettingsRecord loaded = SettingsStore(db).load().record;
            QVERIFY(outcome.killed && Checks::integrityOk(db));
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
        const QStringList sources{u"cons/cr/1/menu.rfa"_s, u"cons/cr/2/menu.rfa"_s};
        for (int i = 0; i < 2; ++i)
            Checks::writeBytes(folder.file(sources[i]), archives[i]);
        const QString archivesFolder = folder.game() + u"/mods/gtide_base/archives"_s,
                      target = archivesFolder + u"/menu.rfa"_s;
        Checks::writeBytes(target, "old archive");
        for (int kill = 0; kill < kills; ++kill) {
            const auto outcome = KilledChild::run(
                [&](const KilledChild::Report&) {
                    for (int n = 0;; ++n)
                        SafeFileCopier().copy(sources[n % 2], target);
                },
                randomDelay());
            const QByteArray now = Checks::bytesOf(target);
            QVERIFY(outcome.killed && (now == "old archive" || archives.contains(now)));
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
        for (bool fullDisk : {true, false})
            for (bool save : {true, false})
                QTest::addRow("%s, %s", save ? "save" : "install",
                              fullDisk ? "full disk" : "read-only")
                    << fullDisk << save
                    << (fullDisk ? FailureNumber::DiskFull : FailureNumber::PermissionDenied);
    }

    void aRefusedWriteChangesNothing()
    {
        QFETCH(bool, fullDisk);
        QFETCH(bool, save);
        QFETCH(int, number);
        TestFolder folder; // its game folder holds the settings file and the archive
        Checks::writeBytes(folder.file(u"cons/rt/2/game.rfa"_s), QByteArray(1 << 20, 'r'));
        QFile::copy(folder.databaseFile(), folder.game() + u"/gtdb.inf"_s);
        Checks::writeBytes(folder.game() + u"/game.rfa"_s, "old archive");
        const QString disk = folder.file(u"disk"_s), db = disk + u"/gtdb.inf"_s,
                      archive = disk + u"/game.rfa"_s;
        std::optional<ScratchMount> mount;
        fullDisk ? mount.emplace(disk, 128) : mount.emplace(folder.game(), disk);
        if (!mount->mounted())
            QSKIP(ScratchMount::skipReason());
        if (fullDisk) {
            QFile::copy(folder.game() + u"/gtdb.inf"_s, db);
            QFile::copy(folder.game() + u"/game.rfa"_s, archive);
            QFile filler(disk + u"/filler"_s); // takes the last free block
            filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            while (filler.write(QByteArray(1024, 'f')) == 1024) {
            }
        }
        QCOMPARE(Checks::failureOf([&] {
                     save ? SettingsStore(db).save(numbered(1))
                          : SafeFileCopier().copy(u"cons/rt/2/game.rfa"_s, archive);
                 }),
                 number);
        QCOMPARE(Checks::bytesOf(db), Checks::bytesOf(folder.databaseFile()));
        QVERIFY(!QFile::exists(db + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(archive), QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(disk), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCrashes)
#include "test_crashes.moc"
