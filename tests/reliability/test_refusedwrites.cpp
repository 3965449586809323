#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "core/settings/SettingsStore.h"
#include "support/Checks.h"
#include "support/ScratchMount.h"
#include "support/TestFolder.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

const SettingsRecord saved{
    u"Grimtide"_s, u"yes"_s, u"no"_s, u"7"_s, u"2"_s, u"No"_s, u"/games/Battlefield 1942"_s};

// Refused by a full or read-only disk, a save or an install leaves the old
// file, never a mix.
class TestRefusedWrites : public QObject {
    Q_OBJECT
private slots:
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
                     save ? SettingsStore(db).save(saved)
                          : SafeFileCopier().copy(u"cons/rt/2/game.rfa"_s, archive);
                 }),
                 number);
        QCOMPARE(Checks::bytesOf(db), Checks::bytesOf(folder.databaseFile()));
        QVERIFY(!QFile::exists(db + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(archive), QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(disk), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestRefusedWrites)
#include "test_refusedwrites.moc"
