#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <csignal>
#include <sys/resource.h>
#include <thread>

class TestSafeFileCopier : public QObject {
    Q_OBJECT
private slots:
    void failuresGetTheirNumbersAndChangeNothing_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target"); // in the game folder
        QTest::addColumn<int>("number");
        const QString init = QStringLiteral("mods/bf1942/init.con");
        QTest::newRow("no target folder")
            << QStringLiteral("cons/unbf.con") << QStringLiteral("mods/nofolder/init.con")
            << FailureNumber::PathNotFound;
        QTest::newRow("a file as folder")
            << QStringLiteral("cons/unbf.con") << init + QStringLiteral("/x")
            << FailureNumber::PathNotFound;
        QTest::newRow("no source folder")
            << QStringLiteral("nocons/unbf.con") << init << FailureNumber::PathNotFound;
        QTest::newRow("no source")
            << QStringLiteral("cons/missing.con") << init << FailureNumber::FileNotFound;
        QTest::newRow("folder as source")
            << QStringLiteral("cons/cr") << init << FailureNumber::WrongKind;
        QTest::newRow("folder as target")
            << QStringLiteral("cons/unbf.con") << QStringLiteral("mods/bf1942")
            << FailureNumber::WrongKind;
        QTest::newRow("read-only target")
            << QStringLiteral("cons/unbf.con") << init << FailureNumber::PermissionDenied;
    }

    void failuresGetTheirNumbersAndChangeNothing() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QFETCH(int, number);
        TestFolder folder;
        const QString init = folder.game() + QStringLiteral("/mods/bf1942/init.con");
        Checks::writeBytes(init, "old");
        QFile::setPermissions(init, QFileDevice::ReadOwner);
        QCOMPARE(Checks::failureOf(
                     [&] { SafeFileCopier().copy(source, folder.game() + u'/' + target); }),
                 number);
        QCOMPARE(Checks::bytesOf(init), QByteArray("old"));
        QVERIFY(!QFileInfo::exists(folder.game() + QStringLiteral("/mods/nofolder")));
        QVERIFY(
            Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/bf1942")).isEmpty());
    }

    void namesMatchWithoutRegardToCaseInAnyFolderName() {
        TestFolder folder;
        const QString game = folder.file(QStringLiteral("Battlefield 1942 – Ünïcode"));
        QDir().mkpath(game + QStringLiteral("/Mods/BF1942"));
        const QString existing = game + QStringLiteral("/Mods/BF1942/Init.con");
        Checks::writeBytes(existing, "old");
        QDir(folder.path()).rename(QStringLiteral("cons"), QStringLiteral("Cons"));
        // Doubled separators are one.
        SafeFileCopier().copy(QStringLiteral("cons/PUREBF.con"),
                              game + QStringLiteral("//mods//bf1942/init.con"));
        QCOMPARE(QDir(game + QStringLiteral("/Mods/BF1942")).entryList(QDir::Files),
                 QStringList{QStringLiteral("Init.con")});
        QCOMPARE(Checks::bytesOf(existing),
                 Checks::bytesOf(folder.file(QStringLiteral("Cons/purebf.con"))));
    }

    void aCopyThatFailsHalfWayLeavesTheOldFile() {
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
        const int number = Checks::failureOf(
            [&] { SafeFileCopier().copy(QStringLiteral("cons/cr/7/menu.rfa"), target); });
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(number, FailureNumber::DeviceIo);
        QCOMPARE(Checks::bytesOf(target), QByteArray("old archive"));
        QVERIFY(
            Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/gtide_base/archives"))
                .isEmpty());
    }

    void anotherCopyRemovesLeftoversButNeverALiveTemporary() {
        TestFolder folder;
        const QString archives = folder.game() + QStringLiteral("/mods/gtide_base/archives");
        const QString target = archives + QStringLiteral("/menu.rfa");
        const QString big = QStringLiteral("cons/cr/7/menu.rfa");
        Checks::writeBytes(folder.file(big), QByteArray(64 << 20, 'b'));
        std::atomic<int> bigFailure = -1;
        std::thread writer(
            [&] { bigFailure = Checks::failureOf([&] { SafeFileCopier().copy(big, target); }); });
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
