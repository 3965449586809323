#include "core/gamefiles/GameFiles.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"
#include "core/platform/StagedFile.h"
#include "core/settings/SettingsStore.h"
#include "import/ArchiveImporter.h"
#include "import/ImportFixture.h"
#include "launcher/UserFolder.h"
#include "support/Checks.h"
#include "support/FaultShim.h"
#include "support/TestFolder.h"

#include <QRandomGenerator>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Each archive of cons as "old" (the delivered placeholder), "new" (the mod's real one) or "torn".
QStringList states(const ImportFixture& s)
{
    QStringList found;
    for (const QString& archive : ImportFixture::archives()) {
        const QByteArray bytes = Checks::bytesOf(QDir(s.cons()).filePath(archive));
        found << (bytes == ImportFixture::realContent(archive)       ? u"new"_s
                  : bytes.startsWith(GameFiles::placeholderMarker()) ? u"old"_s
                                                                     : u"torn"_s);
    }
    return found;
}

void importMod(const ImportFixture& s)
{
    ArchiveImporter(s.folder.path()).importFrom(s.mod(), [](const QString&, int, int) {});
}

// A game file written as the program writes one: beside it, synced, renamed over it.
void copyDurably(const QString& source, const QString& destination)
{
    StagedFile staged(destination, NativeFileSystem::permissionsFor(destination));
    staged.write(source);
    staged.putInPlace();
}

// The failure the action ends with while the call fails with the error after `allowed` calls.
int failureWhileFailing(const QByteArray& call, int allowed, int error,
                        const std::function<void()>& action)
{
    FaultShim::arm(call.constData(), allowed, error);
    const int got = Checks::failureOf(action);
    FaultShim::arm(nullptr, 0, 0);
    return got;
}

} // namespace

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
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("write, disk full") << QByteArray("write") << ENOSPC << 61 << false;
        QTest::newRow("rename") << QByteArray("rename") << EIO << 57 << false;
        QTest::newRow("data sync") << QByteArray("fdatasync") << EIO << 57 << false;
        // After the rename: the new file is in place but may not survive a power cut; told.
        QTest::newRow("folder sync") << QByteArray("fsync") << EIO << 57 << true;
        // A kernel that can't copy between the two leaves it to read and write.
        QTest::newRow("kernel copy refused") << QByteArray("copy_file_range") << EXDEV << 0 << true;
    }

    void aFailingCallFailsTheGameFileCopy()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QFETCH(int, number);
        QFETCH(bool, replaced);
        TestFolder folder;
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s,
                      target = archives + u"/menu.rfa"_s;
        const QString source = folder.file(u"cons/cr/4/menu.rfa"_s);
        Checks::writeBytes(target, "old archive");
        QCOMPARE(failureWhileFailing(call, 0, error,
                                     [&] {
                                         copyDurably(source, target);
                                         NativeFileSystem::syncFolder(archives);
                                     }),
                 number);
        QCOMPARE(Checks::bytesOf(target), replaced ? Checks::bytesOf(source) : "old archive");
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
        const QMap<QString, QByteArray> settings{{u"gtdb.inf"_s, "delivered settings"}},
            delivered{{u"gtdb.inf"_s, "delivered settings"},
                      {u"cons/cr/1/menu.rfa"_s, "placeholder"}};
        TestFolder folder;
        for (auto file = delivered.begin(); file != delivered.end(); ++file)
            Checks::writeBytes(folder.file(u"share/"_s + file.key()), *file);
        const UserFolder user(folder.file(u"own"_s), folder.file(u"share"_s));
        QString reported;
        FaultShim::arm(call.constData(), 0, error);
        try {
            user.prepare();
        } catch (const std::runtime_error& failure) {
            reported = QString::fromStdString(failure.what());
        }
        FaultShim::arm(nullptr, 0, 0);
        QCOMPARE(reported, u"Cannot copy "_s + folder.file(u"own/gtdb.inf"_s));
        QCOMPARE(Checks::filesIn(user.path()), (laid ? settings : QMap<QString, QByteArray>()));
        user.prepare();
        QCOMPARE(Checks::filesIn(user.path()), delivered);
    }

    void eachFailingCallOfASaveLeavesTheOldRow_data()
    {
        QTest::addColumn<QByteArray>("call");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("number");
        QTest::newRow("write") << QByteArray("write") << EIO << 57;
        QTest::newRow("write, disk full") << QByteArray("write") << ENOSPC << 61;
        QTest::newRow("sync") << QByteArray("fdatasync") << EIO << 57;
        QTest::newRow("delete") << QByteArray("unlink") << EIO << 57;
    }

    // The n-th call of the kind fails, n after n, until a save gets through with every call.
    void eachFailingCallOfASaveLeavesTheOldRow()
    {
        QFETCH(QByteArray, call);
        QFETCH(int, error);
        QFETCH(int, number);
        const SettingsRecord newRow(u"Grimtide"_s, u"yes"_s, u"yes"_s, u"7"_s, u"3"_s, u"No"_s,
                                    u"/games/Battlefield 1942"_s);
        TestFolder folder;
        const QList<SettingsRecord> oldRows = folder.storedRows();
        const QByteArray oldFile = Checks::bytesOf(folder.databaseFile());
        int failed = 0;
        for (;; ++failed) {
            Checks::writeBytes(folder.databaseFile(), oldFile);
            SettingsStore store(folder.databaseFile());
            const int got = failureWhileFailing(call, failed, error, [&] { store.save(newRow); });
            if (got == 0)
                break;
            QVERIFY(got == number && Checks::integrityOk(folder.databaseFile()));
            QCOMPARE(folder.storedRows(), oldRows);
            store.save(newRow); // the disk is good again: the same store saves
            QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
        }
        QVERIFY(failed > 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{newRow});
    }

    // Every archive whole, old or new; an import run again brings in all, leaving nothing over.
    void anImportKilledAtAnyStepLeavesWholeArchivesAndCompletesWhenRunAgain()
    {
        for (const char* call : {"write", "fdatasync", "rename", "fsync"}) {
            // Every fourth call: each import syncs 23 files, and every step of one kind is alike.
            for (int allowed = 0;; allowed += 4) {
                ImportFixture s;
                const QStringList delivered = s.consFiles().keys();
                const pid_t child = ::fork();
                if (child == 0) {
                    FaultShim::arm(call, allowed, -SIGKILL);
                    importMod(s);
                    ::_exit(0);
                }
                int status = 0;
                ::waitpid(child, &status, 0);
                // The child drew the parent's random numbers, and so its temporaries' names.
                for (int drawn = 0; drawn < 1000; ++drawn)
                    QRandomGenerator::global()->generate64();
                const QString at = u"%1 %2"_s.arg(QLatin1String(call)).arg(allowed);
                QVERIFY2(!states(s).contains(u"torn"_s), qPrintable(at));
                QVERIFY2(Checks::failureOf([&] { importMod(s); }) == 0, qPrintable(at));
                QVERIFY2(states(s) == QStringList(23, u"new"_s), qPrintable(at));
                QVERIFY2(s.consFiles().keys() == delivered, qPrintable(at));
                if (!WIFSIGNALED(status)) {
                    QVERIFY(allowed > 0);
                    break;
                }
            }
        }
    }

    // A rename refused part-way puts every old archive back.
    void aFailedImportChangesNothing()
    {
        ImportFixture s;
        const auto before = s.consFiles();
        FaultShim::arm("rename", 12, EIO, true);
        const int failure = Checks::failureOf([&] { importMod(s); });
        FaultShim::arm(nullptr, 0, 0);
        QCOMPARE(failure, 57);
        QCOMPARE(s.consFiles(), before);
    }

    // A missing source or folder is told by the chooser's and the switch's tests.
    void aSourceThatIsNoPlainFileIsRefusedAndChangesNothing()
    {
        TestFolder folder;
        const QString init = folder.game() + u"/mods/bf1942/init.con"_s;
        Checks::writeBytes(init, "old");
        for (const QString& kind : {u"pipe"_s, u"folder"_s}) {
            Checks::plant(kind, folder.file(u"planted"_s));
            QCOMPARE(Checks::failureOf([&] { copyDurably(folder.file(u"planted"_s), init); }), 75);
        }
        QCOMPARE(Checks::bytesOf(init), QByteArray("old"));
        QCOMPARE(Checks::copierTemporariesIn(folder.game() + u"/mods/bf1942"_s), QStringList());
    }

    void namesAreFoundWithoutRegardToCaseInAnyFolderName()
    {
        TestFolder folder;
        const QString game = folder.file(u"Battlefield 1942 – Ünïcode"_s);
        Checks::writeBytes(game + u"/Mods/BF1942/Init.con"_s, "old");
        QDir(folder.path()).rename(u"cons"_s, u"Cons"_s);
        QCOMPARE(PathResolver::existingFile(u"cons/PUREBF.con"_s),
                 folder.file(u"Cons/purebf.con"_s));
        QCOMPARE(PathResolver::fileToWrite(game + u"//mods//bf1942/init.con"_s),
                 game + u"/Mods/BF1942/Init.con"_s);
    }

    void aSweepRemovesLeftoversButNeverALiveTemporary()
    {
        TestFolder folder;
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s;
        const QString big = folder.file(u"cons/cr/7/menu.rfa"_s);
        Checks::writeBytes(big, QByteArray(64 << 20, 'b'));
        std::atomic<int> bigFailure = -1;
        std::thread writer([&] {
            bigFailure = Checks::failureOf([&] { copyDurably(big, archives + u"/menu.rfa"_s); });
        });
        while (bigFailure < 0 && Checks::copierTemporariesIn(archives).isEmpty()) {
        }
        Checks::writeBytes(archives + u"/.grimtide-switch-abc.part"_s, "killed copy");
        Checks::writeBytes(archives + u"/.other-program.part"_s, "not ours");
        LeftoverSweep().sweepOnce(archives);
        writer.join();
        QCOMPARE(bigFailure.load(), 0);
        QCOMPARE(Checks::bytesOf(archives + u"/menu.rfa"_s), Checks::bytesOf(big));
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
        QVERIFY(QFileInfo::exists(archives + u"/.other-program.part"_s));
    }
};

QTEST_GUILESS_MAIN(TestCopierFaults)
#include "test_copierfaults.moc"
