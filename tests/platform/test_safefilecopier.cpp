#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;

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
        const QString init = folder.game() + u"/mods/bf1942/init.con"_s;
        Checks::writeBytes(init, "old");
        QFile::setPermissions(init, QFileDevice::ReadOwner);
        QCOMPARE(Checks::failureOf(
                     [&] { SafeFileCopier().copy(source, folder.game() + u'/' + target); }),
                 number);
        QCOMPARE(Checks::bytesOf(init), QByteArray("old"));
        QVERIFY(Checks::copierTemporariesIn(folder.game() + u"/mods/bf1942"_s).isEmpty());
    }

    void namesMatchWithoutRegardToCaseInAnyFolderName()
    {
        TestFolder folder;
        const QString game = folder.file(u"Battlefield 1942 – Ünïcode"_s);
        const QString existing = game + u"/Mods/BF1942/Init.con"_s;
        Checks::writeBytes(existing, "old");
        QDir(folder.path()).rename(u"cons"_s, u"Cons"_s);
        SafeFileCopier().copy(u"cons/PUREBF.con"_s,
                              game + u"//mods//bf1942/init.con"_s); // one separator
        QCOMPARE(Checks::bytesOf(existing), Checks::bytesOf(folder.file(u"Cons/purebf.con"_s)));
    }

    void anotherCopyRemovesLeftoversButNeverALiveTemporary()
    {
        TestFolder folder;
        const QString archives = folder.game() + u"/mods/gtide_base/archives"_s;
        const QString target = archives + u"/menu.rfa"_s;
        const QString big = u"cons/cr/7/menu.rfa"_s;
        Checks::writeBytes(folder.file(big), QByteArray(64 << 20, 'b'));
        std::atomic<int> bigFailure = -1;
        std::thread writer(
            [&] { bigFailure = Checks::failureOf([&] { SafeFileCopier().copy(big, target); }); });
        while (bigFailure < 0 && Checks::copierTemporariesIn(archives).isEmpty()) {
        }
        Checks::writeBytes(archives + u"/.grimtide-switch-abc.part"_s, "killed copy");
        Checks::writeBytes(archives + u"/.other-program.part"_s, "not ours");
        SafeFileCopier().copy(u"cons/cr/3/menu.rfa"_s, target);
        writer.join();
        QCOMPARE(bigFailure.load(), 0);
        // Whichever copy ended last, the target is one of the two files whole.
        const QByteArray copied = Checks::bytesOf(target);
        QVERIFY(copied == Checks::bytesOf(folder.file(big))
                || copied == Checks::bytesOf(folder.file(u"cons/cr/3/menu.rfa"_s)));
        QVERIFY(Checks::copierTemporariesIn(archives).isEmpty());
        QVERIFY(QFileInfo::exists(archives + u"/.other-program.part"_s));
    }
};

QTEST_GUILESS_MAIN(TestSafeFileCopier)
#include "test_safefilecopier.moc"
