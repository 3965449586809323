#include "core/common/Failure.h"
#include "core/gamefiles/GameFiles.h"
#include "import/ArchiveImporter.h"
#include "import/ImportFixture.h"
#include "support/Checks.h"
#include "support/FaultShim.h"

#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/wait.h>
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

} // namespace

class TestImportFaults : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!FaultShim::isLoaded())
            QSKIP("runs only with the fault shim preloaded, as ctest does");
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
};

QTEST_GUILESS_MAIN(TestImportFaults)
#include "test_importfaults.moc"
