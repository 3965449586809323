#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"
#include "core/platform/StagedFile.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// A game file written as the program writes one: beside it, synced, renamed over it.
void copyDurably(const QString& source, const QString& destination)
{
    StagedFile staged(destination, NativeFileSystem::permissionsFor(destination));
    staged.write(source);
    staged.putInPlace();
}

} // namespace

class TestStagedFile : public QObject {
    Q_OBJECT
private slots:
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
        row("link to a device as source", "/dev/zero", init, FailureNumber::WrongKind);
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

QTEST_GUILESS_MAIN(TestStagedFile)
#include "test_stagedfile.moc"
