#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <thread>

class TestSafeFileCopier : public QObject {
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
        row("folder as target", "cons/unbf.con", "mods/bf1942", FailureNumber::WrongKind);
        row("read-only target", "cons/unbf.con", init, FailureNumber::PermissionDenied);
    }

    void failuresGetTheirNumbersAndChangeNothing()
    {
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
        QVERIFY(
            Checks::copierTemporariesIn(folder.game() + QStringLiteral("/mods/bf1942")).isEmpty());
    }

    void namesMatchWithoutRegardToCaseInAnyFolderName()
    {
        TestFolder folder;
        const QString game = folder.file(QStringLiteral("Battlefield 1942 – Ünïcode"));
        QDir().mkpath(game + QStringLiteral("/Mods/BF1942"));
        const QString existing = game + QStringLiteral("/Mods/BF1942/Init.con");
        Checks::writeBytes(existing, "old");
        QDir(folder.path()).rename(QStringLiteral("cons"), QStringLiteral("Cons"));
        SafeFileCopier().copy(QStringLiteral("cons/PUREBF.con"),
                              game + QStringLiteral("//mods//bf1942/init.con")); // one separator
        QCOMPARE(Checks::bytesOf(existing),
                 Checks::bytesOf(folder.file(QStringLiteral("Cons/purebf.con"))));
    }

    void anotherCopyRemovesLeftoversButNeverALiveTemporary()
    {
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
        Checks::writeBytes(archives + QStringLiteral("/.grimtide-switch-abc.part"), "killed copy");
        Checks::writeBytes(archives + QStringLiteral("/.other-program.part"), "not ours");
        SafeFileCopier().copy(QStringLiteral("cons/cr/3/menu.rfa"), target);
        writer.join();
        QCOMPARE(bigFailure.load(), 0);
        // Whichever copy ended last, the target is one of the two files whole.
        const QByteArray copied = Checks::bytesOf(target);
        QVERIFY(copied == Checks::bytesOf(folder.file(big))
                || copied == Checks::bytesOf(folder.file(QStringLiteral("cons/cr/3/menu.rfa"))));
        QVERIFY(Checks::copierTemporariesIn(archives).isEmpty());
        QVERIFY(QFileInfo::exists(archives + QStringLiteral("/.other-program.part")));
    }
};

QTEST_GUILESS_MAIN(TestSafeFileCopier)
#include "test_safefilecopier.moc"
