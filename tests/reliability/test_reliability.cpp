#include "core/app/Session.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/GameProcess.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"
#include "core/platform/StagedFile.h"
#include "core/settings/SettingsStore.h"
#include "import/ArchiveImporter.h"
#include "import/ImportFixture.h"
#include "launcher/UserFolder.h"
#include "support/Checks.h"
#include "support/FaultShim.h"
#include "support/StartedSession.h"
#include "support/TestFolder.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <stdexcept>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
extern char** environ;
using Files = QMap<QString, QByteArray>; // relative path -> content

namespace {

// The call fails with the error after `allowed` calls, once or from then on; the action ends
// with failure `number`; `extra` is what a test's rows add.
struct Fault {
    const char* call;
    int error, number, extra = 0, allowed = 0;
    bool once = false;
};

const QStringList pureFiles{u"purebf"_s, u"purex1"_s, u"purex2"_s},
    grimtideFiles{u"unbf"_s, u"unx1"_s, u"unx2"_s}, packs{u"bf1942"_s, u"xpack1"_s, u"xpack2"_s};
const SettingsRecord sample(u"Grimtide"_s, u"yes"_s, u"no"_s, u"7"_s, u"3"_s, u"No"_s,
                            u"/games/Battlefield 1942"_s);
const Files delivered{{u"gtdb.inf"_s, "delivered settings"},
                      {u"cons/cr/1/menu.rfa"_s, "placeholder"}};

void writeFiles(const QString& folder, const Files& files)
{
    for (auto file = files.begin(); file != files.end(); ++file)
        Checks::writeBytes(folder + u'/' + file.key(), *file);
}

// The delivered files as installed, read-only, in the folder's "share".
QString installed(const TestFolder& folder)
{
    const QString share = folder.file(u"share"_s);
    writeFiles(share, delivered);
    for (const QString& file : delivered.keys())
        QFile::setPermissions(share + u'/' + file, QFile::ReadOwner);
    return share;
}

// "" or what the action threw, the fault armed: a Failure's number and place or an error's text.
QString outcomeUnder(const Fault& fault, const std::function<void()>& action)
{
    FaultShim::arm(fault.call, fault.allowed, fault.error, fault.once);
    const auto disarm = qScopeGuard([] { FaultShim::arm(nullptr, 0, 0); });
    try {
        action();
    } catch (const Failure& failure) {
        return u"%1 %2"_s.arg(failure.number()).arg(failure.place());
    } catch (const std::runtime_error& error) {
        return QString::fromUtf8(error.what());
    }
    return {};
}

const auto outcomeOf = [](const std::function<void()>& a) {
    return outcomeUnder({nullptr, 0, 0}, a);
};

const auto numberOf = [](const QString& outcome) { return outcome.section(u' ', 0, 0).toInt(); };

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

const auto importMod = [](const ImportFixture& s) {
    ArchiveImporter(s.folder.path()).importFrom(s.mod(), [](const QString&, int, int) {});
};

// A game file written as the program writes one: beside it, synced, renamed in, its folder synced.
void copyDurably(const QString& source, const QString& destination)
{
    StagedFile staged(destination, NativeFileSystem::permissionsFor(destination));
    staged.write(source);
    staged.putInPlace();
    NativeFileSystem::syncFolder(QFileInfo(destination).path());
}

QString reticleInto(const QString& game)
{
    const GameFileCopy copy =
        Catalogue::archiveCopy(Catalogue::Kind::Reticle, u"2"_s, game + u"/mods/"_s);
    return outcomeOf([&] { GameFiles(QDir::currentPath()).stage({copy}, {}).commit(); });
}

// A game in pure mode with both packs.
struct PureGame : TestFolder {
    PureGame()
    {
        writeSettings({.rtr = u"yes"_s, .sw = u"yes"_s, .path = gameRow().path});
        for (int pack = 0; pack < 3; ++pack)
            QFile::copy(file(u"cons/%1.con"_s.arg(pureFiles[pack])), initCon(pack));
    }
    QString initCon(int pack) const { return game() + u"/mods/%1/init.con"_s.arg(packs[pack]); }
    QStringList backups() const { return Checks::filesIn(game()).keys().filter(u".old"_s); }
    QString status() const { return storedRows().value(0).status; }
};

// Each call of each kind in turn (every step-th) kills a child, which runs the action and arms
// the shim with the kill; the check runs after, told whether the child ended first.
template <typename Setup>
void killAtEveryCall(QList<const char*> calls, int step,
                     const std::function<void(Setup&, const std::function<void()>& arm)>& action,
                     const std::function<void(Setup&, bool ended, const QString& at)>& check)
{
    for (const char* call : calls) {
        bool ended = false;
        for (int allowed = 0; !ended && !QTest::currentTestFailed(); allowed += step) {
            Setup setup;
            const pid_t child = ::fork();
            if (child == 0) {
                // A refusal ends the child too: QtTest's thread it would wait for is not forked.
                Checks::failureOf(
                    [&] { action(setup, [&] { FaultShim::arm(call, allowed, -SIGKILL); }); });
                ::_exit(0);
            }
            int status = 0;
            ::waitpid(child, &status, 0);
            ended = !WIFSIGNALED(status);
            check(setup, ended, u"%1 %2"_s.arg(QLatin1String(call)).arg(allowed));
            QVERIFY(!ended || allowed > 0);
        }
    }
}

bool hasThread(qint64 pid, const QByteArray& name)
{
    const QDir tasks(u"/proc/%1/task"_s.arg(pid));
    const QStringList ids = tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return std::ranges::any_of(ids, [&](const QString& task) {
        return Checks::bytesOf(tasks.filePath(task + u"/comm"_s)).trimmed() == name;
    });
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(Files)

class TestReliability : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!FaultShim::isLoaded())
            QSKIP("runs only with the fault shim preloaded, as ctest does");
    }

    void aFailingCallFailsTheGameFileCopy_data()
    {
        // A refused rename or data sync is told through the game files below.
        QTest::addColumn<Fault>("fault"); // extra: the new file in place all the same
        QTest::newRow("write, disk full") << Fault{"write", ENOSPC, 61};
        // After the rename: the new file is in place but may not survive a power cut; told.
        QTest::newRow("folder sync") << Fault{"fsync", EIO, 57, true};
        // A kernel that can't copy between the two leaves it to read and write.
        QTest::newRow("kernel copy refused") << Fault{"copy_file_range", EXDEV, 0, true};
        // Missing ones are told by the chooser's and the switch's tests.
        QTest::newRow("source a pipe") << Fault{nullptr, 0, 75};
    }

    void aFailingCallFailsTheGameFileCopy()
    {
        QFETCH(Fault, fault);
        TestFolder folder;
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s,
                      target = archives + u"/menu.rfa"_s;
        QString source = folder.file(u"cons/cr/4/menu.rfa"_s);
        if (!fault.call)
            Checks::plant(u"pipe"_s, source = folder.file(u"planted"_s));
        Checks::writeBytes(target, "old archive");
        QCOMPARE(numberOf(outcomeUnder(fault, [&] { copyDurably(source, target); })), fault.number);
        QCOMPARE(Checks::bytesOf(target), fault.extra ? Checks::bytesOf(source) : "old archive");
        QCOMPARE(Checks::copierTemporariesIn(archives), QStringList());
    }

    void loadReadsTheFirstRowAsStoredAndFlagsOnlyNullsAndASaveWaitsForABriefLock()
    {
        TestFolder folder;
        // An empty text is a value, not a gap.
        folder.writeSettings({{.status = u"pure"_s, .path = QString()}, folder.gameRow()});
        const auto load = [&] { return SettingsStore(folder.databaseFile()).load(); };
        QVERIFY(!load().hadEmptyField);
        Checks::exec(folder.databaseFile(), "UPDATE Options SET rtr = NULL, cr = 7, rt = 2.5");
        const SettingsStore::Loaded loaded = load();
        QVERIFY(loaded.hadEmptyField);
        QCOMPARE(loaded.record,
                 SettingsRecord(u"pure"_s, {}, u"no"_s, u"7"_s, u"2.5"_s, u"No"_s, {}));
        Checks::exec(folder.databaseFile(), "UPDATE Options SET secure = x'00ff'");
        QCOMPARE(Checks::failureOf([&] { load(); }), FailureNumber::TypeMismatch);
        Checks::exec(folder.databaseFile(), "DELETE FROM Options");
        QCOMPARE(Checks::failureOf([&] { load(); }), FailureNumber::NoCurrentRecord);
        // A lock held for less than the busy timeout only makes a save wait.
        std::optional<Checks::SettingsLock> other(std::in_place, folder.databaseFile());
        std::thread release([&other] {
            QThread::msleep(300);
            other.reset();
        });
        SettingsStore(folder.databaseFile()).save(sample);
        release.join();
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{sample});
    }

    void saveLeavesExactlyTheNewRowOrTheOldTable()
    {
        TestFolder folder;
        folder.writeSettings({folder.gameRow(), folder.gameRow(), folder.gameRow()});
        SettingsStore store(folder.databaseFile());
        const SettingsRecord unusual(u"Grimtide"_s, {}, u"no"_s, QString(2000, u'9'), u"3"_s,
                                     u"No"_s, u"C:\\Spiele\\\"Battlefield\" 1942 – Ünïcode 'x'"_s);
        store.save(unusual);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
        // The old row can't be deleted, then sw is missing: each save fails and changes nothing.
        Checks::exec(folder.databaseFile(), "CREATE TRIGGER keep BEFORE DELETE ON Options "
                                            "BEGIN SELECT RAISE(ABORT, 'kept'); END");
        QVERIFY(Checks::failureOf([&] { store.save(sample); }) != 0);
        QCOMPARE(folder.storedRows(), QList<SettingsRecord>{unusual});
        Checks::exec(folder.databaseFile(), "ALTER TABLE Options DROP sw"); // the save let go of it
        const QByteArray before = Checks::bytesOf(folder.databaseFile());
        QCOMPARE(Checks::failureOf([&] { store.save(sample); }), FailureNumber::FieldMissing);
        QCOMPARE(Checks::bytesOf(folder.databaseFile()), before);
    }

    void prepareLaysDownOnlyWhatIsMissing_data()
    {
        QTest::addColumn<Files>("own");
        QTest::newRow("first start") << Files{};
        QTest::newRow("settings") << Files{{u"gtdb.inf"_s, "the player's settings"}};
        QTest::newRow("archive") << Files{{u"cons/cr/1/menu.rfa"_s, "the real archive"}};
        QTest::newRow("a file of the player's") << Files{{u"cons/notes.txt"_s, "the player's"}};
    }

    // The delivered files with the player's over them, the player's to change.
    void prepareLaysDownOnlyWhatIsMissing()
    {
        QFETCH(Files, own);
        TestFolder folder;
        const QString share = installed(folder), path = folder.file(u"own"_s);
        writeFiles(path, own);
        UserFolder(path, share).prepare();
        Files after = delivered;
        after.insert(own);
        QCOMPARE(Checks::filesIn(path), after);
        for (const QString& file : after.keys())
            QVERIFY2(QFile::permissions(path + u'/' + file) & QFile::WriteOwner, qPrintable(file));
    }

    void withoutDeliveredSettingsTheUserFolderFailsAndLaysDownNothing()
    {
        TestFolder folder;
        const QString share = installed(folder);
        QVERIFY(QFile::remove(share + u"/gtdb.inf"_s));
        QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                 UserFolder(folder.file(u"own"_s), share).prepare());
        QVERIFY(!QFileInfo::exists(folder.file(u"own"_s)));
    }

    void aFailureWhileLayingOutTheUserFolderIsReportedAndLeavesNoHalfFile_data()
    {
        QTest::addColumn<Fault>("fault"); // extra: the settings copy whole in place all the same
        QTest::newRow("disk full") << Fault{"write", ENOSPC, 0};
        QTest::newRow("rename refused") << Fault{"rename", EACCES, 0};
        QTest::newRow("folder sync") << Fault{"fsync", EIO, 0, true};
    }

    // The launcher's first copy is the settings file; the next start lays out what is missing.
    void aFailureWhileLayingOutTheUserFolderIsReportedAndLeavesNoHalfFile()
    {
        QFETCH(Fault, fault);
        TestFolder folder;
        const UserFolder user(folder.file(u"own"_s), installed(folder));
        QCOMPARE(outcomeUnder(fault, [&] { user.prepare(); }),
                 u"Cannot copy "_s + folder.file(u"own/gtdb.inf"_s));
        QCOMPARE(Checks::filesIn(user.path()),
                 (fault.extra ? Files{{u"gtdb.inf"_s, "delivered settings"}} : Files()));
        user.prepare();
        QCOMPARE(Checks::filesIn(user.path()), delivered);
    }

    void eachFailingCallOfASaveLeavesTheOldRow_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::newRow("write") << Fault{"write", EIO, 57};
        QTest::newRow("write, disk full") << Fault{"write", ENOSPC, 61};
        QTest::newRow("sync") << Fault{"fdatasync", EIO, 57};
        QTest::newRow("delete") << Fault{"unlink", EIO, 57};
    }

    // The n-th call of the kind fails, n after n, until a save gets through with every call.
    void eachFailingCallOfASaveLeavesTheOldRow()
    {
        QFETCH(Fault, fault);
        TestFolder folder;
        const QList<SettingsRecord> oldRows = folder.storedRows(), newRows{sample};
        const QByteArray oldFile = Checks::bytesOf(folder.databaseFile());
        for (;; ++fault.allowed) {
            Checks::writeBytes(folder.databaseFile(), oldFile);
            SettingsStore store(folder.databaseFile());
            const int got = numberOf(outcomeUnder(fault, [&] { store.save(sample); }));
            if (got == 0)
                break;
            QVERIFY(got == fault.number && Checks::integrityOk(folder.databaseFile()));
            QCOMPARE(folder.storedRows(), oldRows);
            store.save(sample); // the disk is good again: the same store saves
            QCOMPARE(folder.storedRows(), newRows);
        }
        QVERIFY(fault.allowed > 0);
        QCOMPARE(folder.storedRows(), newRows);
    }

    // Every archive whole, old or new; an import run again brings in all, leaving nothing over.
    // Every fourth call: each import syncs 23 files, and every step of one kind is alike.
    void anImportKilledAtAnyStepLeavesWholeArchivesAndCompletesWhenRunAgain()
    {
        killAtEveryCall<ImportFixture>(
            {"write", "fdatasync", "rename", "fsync"}, 4,
            [](ImportFixture& s, const std::function<void()>& arm) { arm(), importMod(s); },
            [](ImportFixture& s, bool, const QString& at) {
                // The child drew the parent's random numbers, and so its temporaries' names.
                for (int drawn = 0; drawn < 1000; ++drawn)
                    QRandomGenerator::global()->generate64();
                static const QStringList delivered = ImportFixture().consFiles().keys();
                QVERIFY2(!states(s).contains(u"torn"_s), qPrintable(at));
                QVERIFY2(outcomeOf([&] { importMod(s); }).isEmpty(), qPrintable(at));
                QVERIFY2(states(s) == QStringList(23, u"new"_s), qPrintable(at));
                QVERIFY2(s.consFiles().keys() == delivered, qPrintable(at));
            });
    }

    // A rename refused part-way puts every old archive back.
    void aFailedImportChangesNothing()
    {
        ImportFixture s;
        const auto before = s.consFiles();
        QCOMPARE(numberOf(outcomeUnder({"rename", EIO, 0, 0, 12, true}, [&] { importMod(s); })),
                 57);
        QCOMPARE(s.consFiles(), before);
    }

    void namesAreFoundInAnyCaseAndASweepRemovesLeftoversButNeverALiveTemporary()
    {
        TestFolder folder;
        const QString game = folder.file(u"Battlefield 1942 – Ünïcode"_s);
        Checks::writeBytes(game + u"/Mods/BF1942/Init.con"_s, "old");
        QDir(folder.path()).rename(u"cons"_s, u"Cons"_s);
        QCOMPARE(PathResolver::existingFile(u"cons/PUREBF.con"_s),
                 folder.file(u"Cons/purebf.con"_s));
        QCOMPARE(PathResolver::fileToWrite(game + u"//mods//bf1942/init.con"_s),
                 game + u"/Mods/BF1942/Init.con"_s);
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s,
                      big = folder.file(u"cons/cr/7/menu.rfa"_s);
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

    void aRefusedCallLeavesEveryGameFileAsItWas_data()
    {
        QTest::addColumn<Fault>("fault"); // extra: the pack whose init.con the failure names
        QTest::newRow("a rename refused once") << Fault{"rename", EIO, 57, 1, 1, true};
        QTest::newRow("a rename refused for good") << Fault{"rename", EIO, 57, 1, 1};
        QTest::newRow("a full disk") << Fault{"write", ENOSPC, 61, 0, 0, true};
        QTest::newRow("a failed sync") << Fault{"fdatasync", EIO, 57, 1, 1, true};
    }

    void aRefusedCallLeavesEveryGameFileAsItWas()
    {
        QFETCH(Fault, fault);
        PureGame game;
        {
            StartedSession program;
            program.session.switchTo(GameMode::Grimtide); // the game's own files are kept by now
            program.session.switchTo(GameMode::Pure);
            QCOMPARE(outcomeUnder(fault, [&] { program.session.switchTo(GameMode::Grimtide); }),
                     u"%1 %2"_s.arg(fault.number).arg(game.initCon(fault.extra)));
            QCOMPARE(program.session.record().status, u"Pure"_s);
            QCOMPARE(Checks::installedModes(game.game()) == pureFiles, fault.once);
        }
        StartedSession next;
        QCOMPARE(Checks::installedModes(game.game()), pureFiles);
        QCOMPARE(game.backups(), QStringList());
        QCOMPARE(game.status(), u"Pure"_s);
    }

    // The save's calls included: the game wholly in the mode gtdb.inf holds, gtdb.inf whole.
    void aSwitchKilledAtAnyStepIsPutRightByTheNextStart()
    {
        killAtEveryCall<PureGame>(
            {"write", "fdatasync", "rename", "fsync", "unlink"}, 1,
            [](PureGame&, const std::function<void()>& arm) {
                StartedSession program;
                arm();
                program.session.switchTo(GameMode::Grimtide);
            },
            [](PureGame& game, bool ended, const QString& at) {
                StartedSession next;
                const QString stored = game.status();
                QVERIFY2(Checks::installedModes(game.game())
                             == (stored == u"Pure"_s ? pureFiles : grimtideFiles),
                         qPrintable(at + u": "_s + stored));
                QCOMPARE(game.backups(), QStringList());
                QVERIFY(Checks::integrityOk(game.databaseFile()) && game.storedRows().size() == 1);
                QVERIFY(!ended || stored == u"Grimtide"_s);
            });
    }

    // The game's archives as gtdb.inf's choices say, or as the game held them.
    void picksKilledAtAnyStepArePutRightByTheNextStart()
    {
        const QString crosshairs = u"game/mods/gtide_base/archives/menu.rfa"_s,
                      reticles = u"game/mods/gtide_base/archives/bf1942/game.rfa"_s;
        killAtEveryCall<PureGame>(
            {"write", "fdatasync", "rename", "fsync", "unlink"}, 1,
            [&](PureGame& game, const std::function<void()>& arm) {
                writeFiles(game.path(), {{u"cons/cr/4/menu.rfa"_s, "crosshair 4"},
                                         {u"cons/cr/5/menu.rfa"_s, "crosshair 5"},
                                         {u"cons/rt/2/game.rfa"_s, "reticle 2"},
                                         {crosshairs, "own crosshairs"},
                                         {reticles, "own reticles"}});
                StartedSession program;
                arm();
                program.session.pick(Catalogue::Kind::Crosshair, 4);
                program.session.pick(Catalogue::Kind::Reticle, 2);
                program.session.pick(Catalogue::Kind::Crosshair, 5);
                program.session.keepChoices(5, 2);
            },
            [&](PureGame& game, bool ended, const QString& at) {
                StartedSession next;
                const bool kept = game.storedRows().value(0).cr == u"5"_s;
                QCOMPARE(Checks::bytesOf(game.file(crosshairs)),
                         kept ? QByteArray("crosshair 5") : QByteArray("own crosshairs"));
                QCOMPARE(Checks::bytesOf(game.file(reticles)),
                         kept ? QByteArray("reticle 2") : QByteArray("own reticles"));
                QVERIFY2(game.backups().isEmpty(), qPrintable(at));
                QVERIFY(!ended || kept);
            });
    }

    // Refused as Windows would refuse it, also for root, whom the system lets write; then on a
    // read-only mount a save, a game file and a user folder missing its archive are each refused.
    void aReadOnlyGameFileOrDiskIsNeverChanged()
    {
        TestFolder folder;
        const QString archive = u"/mods/gtide_base/archives/bf1942/game.rfa"_s;
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup;
        Checks::writeBytes(folder.game() + archive, "old archive");
        Checks::writeBytes(folder.file(u"cons/rt/2/game.rfa"_s), "real archive");
        QVERIFY(QFile::setPermissions(folder.game() + archive, readOnly));
        QCOMPARE(reticleInto(folder.game()), u"70 "_s + folder.game() + archive);
        QCOMPARE(Checks::bytesOf(folder.game() + archive), QByteArray("old archive"));
        QFile::setPermissions(folder.game() + archive, readOnly | QFile::WriteOwner);
        QFile::copy(folder.databaseFile(), folder.game() + u"/gtdb.inf"_s);
        QDir().mkpath(folder.game() + u"/own/cons/cr/1"_s);
        Checks::writeBytes(folder.game() + u"/own/gtdb.inf"_s, "the player's settings");
        const QString share = installed(folder), disk = folder.file(u"disk"_s),
                      db = disk + u"/gtdb.inf"_s, own = disk + u"/own"_s;
        QDir().mkpath(disk);
        const QByteArray target = QFile::encodeName(disk);
        // A bind mount takes the read-only flag only on a second, remounting call.
        if (::mount(QFile::encodeName(folder.game()).constData(), target.constData(), nullptr,
                    MS_BIND, nullptr)
            != 0)
            QSKIP("needs to mount file systems (run as root)");
        const auto unmount = qScopeGuard([&] { ::umount2(target.constData(), MNT_DETACH); });
        QCOMPARE(::mount(nullptr, target.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                         nullptr),
                 0);
        QCOMPARE(numberOf(outcomeOf([&] { SettingsStore(db).save(sample); })), 70);
        QCOMPARE(numberOf(reticleInto(disk)), 70);
        QCOMPARE(outcomeOf([&] { UserFolder(own, share).prepare(); }),
                 u"Cannot copy "_s + own + u"/cons/cr/1/menu.rfa"_s);
    }

    // A name as the system shows it ends in a line break; a command line's arguments each in a
    // zero byte.
    void aProcessIsTheGameByWhatRuns_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("commandLine");
        QTest::addColumn<bool>("game");
        const auto row = [](const char* tag, QByteArray name, QByteArray line, bool game) {
            QTest::newRow(tag) << name << line << game;
        };
        row("named by Wine", "BF1942.exe\n", "C:\\Games\\Battlefield 1942\\BF1942.exe\0"_ba, true);
        row("named in another case", "bf1942.EXE\n", {}, true);
        row("started under the name", "sleep\n", "BF1942.exe\0"_ba, true);
        row("started under the name in a folder", "sleep\n", "/games/bf/Bf1942.Exe\0"_ba, true);
        row("wine's program", "wine\n", "/usr/bin/wine\0C:\\Games\\BF1942.exe\0"_ba, true);
        row("the preloader's program, the name cut", "wine64-preloade\n",
            "/usr/lib/wine/wine64-preloader\0/usr/lib/wine/wine64\0BF1942.exe\0"_ba, true);
        row("a tool given the game", "notepad.exe\n", "notepad.exe\0C:\\BF1942.exe\0"_ba, false);
        row("wine running a tool given it", "wine\n", "wine\0notepad.exe\0BF1942.exe\0"_ba, false);
        row("not a loader, if named like one", "winecfg\n", "winecfg\0BF1942.exe\0"_ba, false);
        row("a name that only ends so", "MyBF1942.exe\n", "/g/notBF1942.exe\0"_ba, false);
        row("a loader alone", "wine\n", "wine\0"_ba, false);
        row("nothing read", {}, {}, false);
    }

    void aProcessIsTheGameByWhatRuns()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, commandLine);
        QFETCH(bool, game);
        QCOMPARE(GameProcess::isTheGame(name, commandLine), game);
    }

    // Started as exec -a starts it; ended but not yet collected by its parent, it runs no more.
    void aProgramStartedUnderTheGamesNameRunsUntilItEnds()
    {
        char* argv[] = {const_cast<char*>("BF1942.exe"), const_cast<char*>("60"), nullptr};
        pid_t pid = -1;
        QCOMPARE(::posix_spawn(&pid, "/bin/sleep", nullptr, nullptr, argv, environ), 0);
        const auto reap = qScopeGuard([pid] { ::kill(pid, SIGKILL), ::waitpid(pid, nullptr, 0); });
        // Until its loader is done, the process's command line can't be read without waiting.
        QTRY_COMPARE(GameProcess::running(), u"process %1 (BF1942.exe)"_s.arg(pid));
        ::kill(pid, SIGKILL);
        QTRY_VERIFY(Checks::bytesOf(u"/proc/%1/stat"_s.arg(pid)).contains(") Z "));
        QCOMPARE(GameProcess::running(), std::nullopt);
    }

    // On an X screen Qt's accessibility calls the bus at the first window, and waits for good.
    void aFrozenBusBeforeTheStartHoldsNoSignal()
    {
        QProcess screen, bus, program;
        screen.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
        bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address=1"_s});
        QVERIFY(screen.waitForReadyRead(10000) && bus.waitForReadyRead(10000));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        environment.insert(u"DISPLAY"_s, u':' + QString::fromLatin1(screen.readLine().trimmed()));
        environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s,
                           QString::fromLatin1(bus.readLine().trimmed()));
        ::kill(pid_t(bus.processId()), SIGSTOP);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        program.setProcessEnvironment(environment);
        program.setWorkingDirectory(folder.path());
        program.start(QStringLiteral(GRIMTIDE_SWITCH_PROGRAM), {});
        // Qt's bus thread comes with the window thread's first call to the bus.
        QTRY_VERIFY_WITH_TIMEOUT(hasThread(program.processId(), "QDBusConnection"), 30000);
        QElapsedTimer sinceSignal;
        sinceSignal.start();
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(10000) && program.exitStatus() == QProcess::NormalExit);
        QCOMPARE_LT(sinceSignal.elapsed(), 2000);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY(program.readAllStandardError().endsWith("grimtide-switch: the close could not run: "
                                                        "the window did not answer the signal in "
                                                        "time.\n"));
        ::kill(pid_t(bus.processId()), SIGCONT);
    }
};

QTEST_GUILESS_MAIN(TestReliability)
#include "test_reliability.moc"
