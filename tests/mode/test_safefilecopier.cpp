#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <csignal>
#include <thread>
#include <sys/resource.h>

class TestSafeFileCopier : public QObject {
    Q_OBJECT
private slots:
    void copiesWholeFilesOverTheDestination()
    {
        TestFolder folder;
        const QString target = folder.game() + QStringLiteral("/mods/bf1942/init.con");
        Checks::writeBytes(target, QByteArray(10000, 'o'));
        SafeFileCopier().copy(QStringLiteral("cons/unbf.con"), target);
        QCOMPARE(Checks::bytesOf(target), Checks::bytesOf(folder.file(QStringLiteral("cons/unbf.con"))));
        QVERIFY(Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/bf1942")).isEmpty());
    }

    void failuresGetTheirNumbersAndChangeNothing()
    {
        TestFolder folder;
        SafeFileCopier copier;
        const QString mods = folder.game() + QStringLiteral("/mods/");
        const auto copy = [&](const QString& from, const QString& to) {
            return Checks::failureOf([&] { copier.copy(from, to); });
        };
        QCOMPARE(copy(QStringLiteral("cons/unbf.con"), mods + QStringLiteral("nofolder/init.con")),
                 FailureNumber::PathNotFound);
        QVERIFY(!QFileInfo::exists(mods + QStringLiteral("nofolder")));
        QCOMPARE(copy(QStringLiteral("nocons/unbf.con"), mods + QStringLiteral("bf1942/init.con")),
                 FailureNumber::PathNotFound);
        QCOMPARE(copy(QStringLiteral("cons/missing.con"), mods + QStringLiteral("bf1942/init.con")),
                 FailureNumber::FileNotFound);
        QCOMPARE(copy(QStringLiteral("cons/cr"), mods + QStringLiteral("bf1942/init.con")),
                 FailureNumber::WrongKind);
        QCOMPARE(copy(QStringLiteral("cons/unbf.con"), mods + QStringLiteral("bf1942")),
                 FailureNumber::WrongKind);
        // A mods path that is a file is a missing folder.
        Checks::writeBytes(folder.file(QStringLiteral("plainfile")), "x");
        QCOMPARE(copy(QStringLiteral("cons/unbf.con"),
                      folder.file(QStringLiteral("plainfile/mods/bf1942/init.con"))),
                 FailureNumber::PathNotFound);
        QVERIFY(!QFileInfo::exists(mods + QStringLiteral("bf1942/init.con")));
    }

    void aReadOnlyGameFileIsRefused()
    {
        TestFolder folder;
        const QString target = folder.game() + QStringLiteral("/mods/xpack1/init.con");
        Checks::writeBytes(target, "old");
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        QCOMPARE(Checks::failureOf([&] { SafeFileCopier().copy(QStringLiteral("cons/unx1.con"), target); }),
                 FailureNumber::PermissionDenied);
        QCOMPARE(Checks::bytesOf(target), QByteArray("old"));
        QVERIFY(Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/xpack1")).isEmpty());
    }

    void namesMatchWithoutRegardToCase()
    {
        TestFolder folder;
        QDir(folder.game()).rename(QStringLiteral("mods"), QStringLiteral("Mods"));
        QDir(folder.game() + QStringLiteral("/Mods")).rename(QStringLiteral("bf1942"), QStringLiteral("BF1942"));
        const QString existing = folder.game() + QStringLiteral("/Mods/BF1942/Init.con");
        Checks::writeBytes(existing, "old");
        QDir(folder.path()).rename(QStringLiteral("cons"), QStringLiteral("Cons"));
        SafeFileCopier().copy(QStringLiteral("cons/PUREBF.con"),
                              folder.game() + QStringLiteral("/mods/bf1942/init.con"));
        QCOMPARE(QDir(folder.game() + QStringLiteral("/Mods/BF1942")).entryList(QDir::Files),
                 QStringList{QStringLiteral("Init.con")});
        QCOMPARE(Checks::bytesOf(existing), Checks::bytesOf(folder.file(QStringLiteral("Cons/purebf.con"))));
    }

    void spacesNonAsciiAndDoubledSeparators()
    {
        TestFolder folder;
        const QString game = folder.file(QStringLiteral("Battlefield 1942 – Ünïcode"));
        QDir().mkpath(game + QStringLiteral("/mods/bf1942"));
        SafeFileCopier().copy(QStringLiteral("cons/purebf.con"),
                              game + QStringLiteral("//mods//bf1942/init.con"));
        QVERIFY(QFileInfo::exists(game + QStringLiteral("/mods/bf1942/init.con")));
    }

    void aCopyThatFailsHalfWayLeavesTheOldFile()
    {
        TestFolder folder;
        const QString source = folder.file(QStringLiteral("cons/cr/7/menu.rfa"));
        Checks::writeBytes(source, QByteArray(3 << 20, 'n'));
        const QString target = folder.game() + QStringLiteral("/mods/gtide_base/archives/menu.rfa");
        Checks::writeBytes(target, "old archive");
        // A file size limit makes the second megabyte's write fail after the
        // first has been written.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit small = saved;
        small.rlim_cur = 3 << 19;
        setrlimit(RLIMIT_FSIZE, &small);
        const int number = Checks::failureOf([&] { SafeFileCopier().copy(QStringLiteral("cons/cr/7/menu.rfa"), target); });
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(number, FailureNumber::DeviceIo);
        QCOMPARE(Checks::bytesOf(target), QByteArray("old archive"));
        QVERIFY(Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/gtide_base/archives")).isEmpty());
    }

    void anotherCopyRemovesLeftoversButNeverALiveTemporary()
    {
        TestFolder folder;
        const QString archives = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archives + QStringLiteral("/menu.rfa");
        const QString big = QStringLiteral("cons/cr/7/menu.rfa");
        Checks::writeBytes(folder.file(big), QByteArray(64 << 20, 'b'));
        std::atomic<int> bigFailure = -1;
        std::thread writer([&] {
            bigFailure = Checks::failureOf([&] { SafeFileCopier().copy(big, target); });
        });
        while (bigFailure < 0 && Checks::copierTemporariesIn(archives).isEmpty()) {
        }
        // What killed copies and other programs left beside the live one.
        Checks::writeBytes(archives + QStringLiteral("/.grimtide-switch-abc.part"), "torn");
        Checks::writeBytes(archives + QStringLiteral("/.other-program.part"), "not ours");
        SafeFileCopier().copy(QStringLiteral("cons/cr/3/menu.rfa"), target);
        writer.join();
        QCOMPARE(bigFailure.load(), 0);
        QCOMPARE(Checks::bytesOf(target), Checks::bytesOf(folder.file(big)));
        QVERIFY(Checks::copierTemporariesIn(archives).isEmpty());
        QVERIFY(QFileInfo::exists(archives + QStringLiteral("/.other-program.part")));
    }
};

QTEST_GUILESS_MAIN(TestSafeFileCopier)
#include "test_safefilecopier.moc"
