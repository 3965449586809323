#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/settings/SettingsStore.h"
#include "launcher/UserFolder.h"
#include "support/Checks.h"
#include "support/TestFolder.h"

#include <QScopeGuard>
#include <QTest>

#include <stdexcept>
#include <sys/mount.h>

using namespace Qt::StringLiterals;

namespace {

// Reticle 2 into the game whose mods folder is given: what the failure names, or "".
QString failedAtReticle(const QString& mods)
{
    try {
        GameFiles(QDir::currentPath())
            .stage({Catalogue::archiveCopy(Catalogue::Kind::Reticle, u"2"_s, mods)}, {})
            .commit();
    } catch (const Failure& failure) {
        return u"%1 %2"_s.arg(failure.number()).arg(failure.place());
    }
    return {};
}

} // namespace

// A full disk is the fault shim's ENOSPC, in test_gamefilefaults and test_copierfaults.
class TestRefusedWrites : public QObject {
    Q_OBJECT
private slots:
    // Refused as Windows would refuse it, also for root, whom the system lets write.
    void aReadOnlyGameFileIsNeverReplaced()
    {
        TestFolder folder;
        const QString archive = folder.game() + u"/mods/gtide_base/archives/bf1942/game.rfa"_s;
        Checks::writeBytes(archive, "old archive");
        Checks::writeBytes(folder.file(u"cons/rt/2/game.rfa"_s), "real archive");
        QVERIFY(QFile::setPermissions(archive, QFile::ReadOwner | QFile::ReadGroup));
        QCOMPARE(failedAtReticle(folder.game() + u"/mods/"_s), u"70 "_s + archive);
        QCOMPARE(Checks::bytesOf(archive), QByteArray("old archive"));
    }

    // A read-only view of the game folder, a user folder in it missing its archive: a save, a
    // game file and the user folder's layout are each refused.
    void aReadOnlyDiskChangesNothing()
    {
        TestFolder folder;
        QFile::copy(folder.databaseFile(), folder.game() + u"/gtdb.inf"_s);
        const QString archive = u"mods/gtide_base/archives/bf1942/game.rfa"_s;
        Checks::writeBytes(folder.game() + u'/' + archive, "old archive");
        Checks::writeBytes(folder.file(u"cons/rt/2/game.rfa"_s), "real archive");
        QDir().mkpath(folder.game() + u"/own/cons/cr/1"_s);
        Checks::writeBytes(folder.game() + u"/own/gtdb.inf"_s, "the player's settings");
        const QString delivered = folder.file(u"share"_s);
        Checks::writeBytes(delivered + u"/gtdb.inf"_s, "delivered settings");
        Checks::writeBytes(delivered + u"/cons/cr/1/menu.rfa"_s, "placeholder");
        const QString disk = folder.file(u"disk"_s), db = disk + u"/gtdb.inf"_s,
                      own = disk + u"/own"_s;
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
        QCOMPARE(Checks::failureOf([&] {
                     SettingsStore(db).save({u"Grimtide"_s, u"yes"_s, u"no"_s, u"7"_s, u"2"_s,
                                             u"No"_s, u"/games/Battlefield 1942"_s});
                 }),
                 70);
        QCOMPARE(failedAtReticle(disk + u"/mods/"_s).section(u' ', 0, 0), u"70"_s);
        QString reported;
        try {
            UserFolder(own, delivered).prepare();
        } catch (const std::runtime_error& failure) {
            reported = QString::fromStdString(failure.what());
        }
        QCOMPARE(reported, u"Cannot copy "_s + own + u"/cons/cr/1/menu.rfa"_s);
        QCOMPARE(Checks::bytesOf(db), Checks::bytesOf(folder.databaseFile()));
        QVERIFY(!QFile::exists(db + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(disk + u'/' + archive), QByteArray("old archive"));
        QCOMPARE(Checks::filesIn(own),
                 (QMap<QString, QByteArray>{{u"gtdb.inf"_s, "the player's settings"}}));
    }
};

QTEST_GUILESS_MAIN(TestRefusedWrites)
#include "test_refusedwrites.moc"
