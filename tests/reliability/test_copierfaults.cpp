#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"
#include "core/settings/SettingsStore.h"
#include "launcher/UserFolder.h"
#include "support/Checks.h"
#include "support/FaultShim.h"
#include "support/TestFolder.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

struct Fault {
    QByteArray call;
    int error, number; // errno, and the failure the player is shown
};

} // namespace

Q_DECLARE_METATYPE(Fault)

class TestCopierFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!FaultShim::isLoaded())
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aFailingCallFailsTheGameFileCopy_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("write, disk full")
            << Fault{"write", ENOSPC, FailureNumber::DiskFull} << false;
        QTest::newRow("rename") << Fault{"rename", EIO, FailureNumber::DeviceIo} << false;
        QTest::newRow("data sync") << Fault{"fdatasync", EIO, FailureNumber::DeviceIo} << false;
        // After the rename: the new file is in place, but may not survive a power cut; the player
        // is told.
        QTest::newRow("folder sync") << Fault{"fsync", EIO, FailureNumber::DeviceIo} << true;
        // A kernel that can't copy between the two leaves it to read and write.
        QTest::newRow("kernel copy refused") << Fault{"copy_file_range", EXDEV, 0} << true;
    }

    // As the program writes a game file: a temporary beside it, synced, renamed over it, and its
    // folder synced.
    void aFailingCallFailsTheGameFileCopy()
    {
        QFETCH(Fault, fault);
        QFETCH(bool, replaced);
        TestFolder folder;
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s,
                      target = archives + u"/menu.rfa"_s;
        const QString source = folder.file(u"cons/cr/4/menu.rfa"_s);
        Checks::writeBytes(target, "old archive");
        FaultShim::arm(fault.call.constData(), 0, fault.error);
        const int got = Checks::failureOf([&] {
            StagedFile staged(target, 0644);
            staged.write(source);
            staged.putInPlace();
            NativeFileSystem::syncFolder(archives);
        });
        FaultShim::arm(nullptr, 0, 0);
        QCOMPARE(got, fault.number);
        QCOMPARE(Checks::bytesOf(target),
                 replaced ? Checks::bytesOf(source) : QByteArray("old archive"));
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
    }

    void aFailureWhileLayingOutTheUserFolderIsReportedAndLeavesNoHalfFile_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("laid"); // the settings copy whole in place all the same
        QTest::newRow("disk full") << QByteArray("write") << ENOSPC << false;
        QTest::newRow("rename refused") << QByteArray("rename") << EACCES << false;
        QTest::newRow("folder sync") << QByteArray("fsync") << EIO << true;
    }

    // The launcher's first copy is the settings file; the next start lays out what is missing.
    void aFailureWhileLayingOutTheUserFolderIsReportedAndLeavesNoHalfFile()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QFETCH(bool, laid);
        const QMap<QString, QByteArray> delivered{{u"gtdb.inf"_s, "delivered settings"},
                                                  {u"cons/cr/1/menu.rfa"_s, "placeholder"}};
        QTemporaryDir temp;
        for (auto file = delivered.begin(); file != delivered.end(); ++file)
            Checks::writeBytes(temp.filePath(u"share/"_s + file.key()), *file);
        const UserFolder user(temp.filePath(u"own"_s), temp.filePath(u"share"_s));
        QString reported;
        FaultShim::arm(call.constData(), 0, error);
        try {
            user.prepare();
        } catch (const std::runtime_error& failure) {
            reported = QString::fromStdString(failure.what());
        }
        FaultShim::arm(nullptr, 0, 0);
        QCOMPARE(reported, u"Cannot copy "_s + temp.filePath(u"own/gtdb.inf"_s));
        const QMap<QString, QByteArray> settingsOnly{{u"gtdb.inf"_s, "delivered settings"}};
        QCOMPARE(Checks::filesIn(user.path()), (laid ? settingsOnly : QMap<QString, QByteArray>()));
        user.prepare();
        QCOMPARE(Checks::filesIn(user.path()), delivered);
    }

    void eachFailingCallOfASaveLeavesTheOldRow_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("write") << Fault{"write", EIO, FailureNumber::DeviceIo};
        QTest::newRow("write, disk full") << Fault{"write", ENOSPC, FailureNumber::DiskFull};
        QTest::newRow("sync") << Fault{"fdatasync", EIO, FailureNumber::DeviceIo};
        QTest::newRow("delete") << Fault{"unlink", EIO, FailureNumber::DeviceIo};
    }

    // Step by step the n-th call of the kind fails, until a save gets through with every call it
    // makes.
    void eachFailingCallOfASaveLeavesTheOldRow()
    {
        QFETCH(Fault, fault);
        const SettingsRecord newRow(u"Grimtide"_s, u"yes"_s, u"yes"_s, u"7"_s, u"3"_s, u"No"_s,
                                    u"/games/Battlefield 1942"_s);
        TestFolder folder;
        const QList<SettingsRecord> oldRows = folder.storedRows();
        const QByteArray oldFile = Checks::bytesOf(folder.databaseFile());
        int failed = 0;
        for (;; ++failed) {
            Checks::writeBytes(folder.databaseFile(), oldFile);
            SettingsStore store(folder.databaseFile());
            FaultShim::arm(fault.call.constData(), failed, fault.error);
            const int got = Checks::failureOf([&] { store.save(newRow); });
            FaultShim::arm(nullptr, 0, 0);
            if (got == 0)
                break;
            QVERIFY(got == fault.number && Checks::integrityOk(folder.databaseFile()));
            QCOMPARE(folder.storedRows(), oldRows);
            // The disk is good again: the same store saves at the next try.
            store.save(newRow);
            QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        }
        QVERIFY(failed > 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
    }
};

QTEST_GUILESS_MAIN(TestCopierFaults)
#include "test_copierfaults.moc"
