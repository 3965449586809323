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
#include <QTemporaryDir>
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

// Each archive of cons as "old" (the delivered placeholder), "new" (the
// mod's real one) or "torn".
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

struct Fault {
    QByteArray call;
    int error, number; // errno, and the failure the player is shown
};

} // namespace

Q_DECLARE_METATYPE(Fault)

// The copier that writes every file the program writes (StagedFile), the
// settings store and the archive import, with calls made to fail or to kill
// by the fault shim.
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
            copyDurably(source, target);
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

    // A call an import makes to write is, in turn, the one at which it dies:
    // every archive is whole, old or new, and an import run again brings in
    // every one and leaves no temporary or old archive behind.
    void anImportKilledAtAnyStepLeavesWholeArchivesAndCompletesWhenRunAgain()
    {
        for (const char* call : {"write", "fdatasync", "rename", "fsync"}) {
            // Every fourth call: each import syncs 23 files, and every step
            // of one kind is alike.
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
                // A forked child draws the parent's random numbers, and so
                // its temporaries' names: the run again draws others, as a
                // new process would.
                for (int drawn = 0; drawn < 1000; ++drawn)
                    QRandomGenerator::global()->generate64();
                const QString at = u"%1 %2"_s.arg(QLatin1String(call)).arg(allowed);
                QVERIFY2(!states(s).contains(u"torn"_s), qPrintable(at));
                const int failure = Checks::failureOf([&] { importMod(s); });
                QVERIFY2(failure == 0, qPrintable(at + u" %1"_s.arg(failure)));
                QVERIFY2(states(s) == QStringList(23, u"new"_s), qPrintable(at));
                QVERIFY2(s.consFiles().keys() == delivered, qPrintable(at)); // nothing left over
                if (!WIFSIGNALED(status)) {
                    QVERIFY(allowed > 0);
                    break;
                }
            }
        }
    }

    // A rename refused part-way puts every old archive back.
    void aFailedCopyChangesNothing()
    {
        ImportFixture s;
        const auto before = s.consFiles();
        FaultShim::armOnce("rename", 12, EIO);
        const int failure = Checks::failureOf([&] { importMod(s); });
        FaultShim::arm(nullptr, 0, 0);
        QCOMPARE(failure, FailureNumber::DeviceIo);
        QCOMPARE(s.consFiles(), before);
    }

    void failuresGetTheirNumbersAndChangeNothing_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target"); // in the game folder
        QTest::addColumn<int>("number");
        const auto row = [](const char* name, const char* source, const char* target, int number) {
            QTest::newRow(name) << QString::fromUtf8(source) << QString::fromUtf8(target) << number;
        };
        const char* init = "mods/bf1942/init.con";
        row("no target folder", "cons/unbf.con", "mods/none/init.con", FailureNumber::PathNotFound);
        row("no source", "cons/missing.con", init, FailureNumber::FileNotFound);
        row("folder as source", "cons/cr", init, FailureNumber::WrongKind);
        row("pipe as source", "pipe", init, FailureNumber::WrongKind);
    }

    void failuresGetTheirNumbersAndChangeNothing()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, number);
        TestFolder folder;
        const QString init = folder.game() + u"/mods/bf1942/init.con"_s;
        Checks::writeBytes(init, "old");
        if (!source.startsWith(u"cons/"_s)) {
            Checks::plant(source, folder.file(u"planted"_s));
            source = folder.file(u"planted"_s);
        }
        QCOMPARE(Checks::failureOf([&] { copyDurably(source, folder.game() + u'/' + target); }),
                 number);
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
        const QString target = archives + u"/menu.rfa"_s;
        const QString big = folder.file(u"cons/cr/7/menu.rfa"_s);
        Checks::writeBytes(big, QByteArray(64 << 20, 'b'));
        std::atomic<int> bigFailure = -1;
        std::thread writer(
            [&] { bigFailure = Checks::failureOf([&] { copyDurably(big, target); }); });
        while (bigFailure < 0 && Checks::copierTemporariesIn(archives).isEmpty()) {
        }
        Checks::writeBytes(archives + u"/.grimtide-switch-abc.part"_s, "killed copy");
        Checks::writeBytes(archives + u"/.other-program.part"_s, "not ours");
        LeftoverSweep sweep;
        sweep.sweepOnce(archives);
        copyDurably(folder.file(u"cons/cr/3/menu.rfa"_s), target);
        writer.join();
        QCOMPARE(bigFailure.load(), 0);
        // Whichever copy ended last, the target is one of the two files whole.
        const QByteArray copied = Checks::bytesOf(target);
        QVERIFY(copied == Checks::bytesOf(big)
                || copied == Checks::bytesOf(folder.file(u"cons/cr/3/menu.rfa"_s)));
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
        QVERIFY(QFileInfo::exists(archives + u"/.other-program.part"_s));
    }
};

QTEST_GUILESS_MAIN(TestCopierFaults)
#include "test_copierfaults.moc"
