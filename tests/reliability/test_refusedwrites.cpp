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

const SettingsRecord saved{
    u"Grimtide"_s, u"yes"_s, u"no"_s, u"7"_s, u"2"_s, u"No"_s, u"/games/Battlefield 1942"_s};

// A read-only view of the folder at `at`; false where mounting is not allowed (it needs root).
bool mountReadOnly(const QString& folder, const QString& at)
{
    QDir().mkpath(at);
    const QByteArray source = QFile::encodeName(folder), target = QFile::encodeName(at);
    if (::mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
        return false;
    // A bind mount takes the read-only flag only on a second, remounting call.
    const unsigned long readOnly = MS_REMOUNT | MS_BIND | MS_RDONLY;
    if (::mount(nullptr, target.constData(), nullptr, readOnly, nullptr) == 0)
        return true;
    ::umount(target.constData());
    return false;
}

} // namespace

// Refused by a read-only file or disk, a save or a game file's update leaves
// the old file, and laying out the user folder says so and lays down
// nothing. (A full disk is the fault shim's ENOSPC, in test_gamefilefaults
// and test_copierfaults.)
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
        GameFiles files(folder.path());
        QString refused;
        try {
            files
                .stage({Catalogue::archiveCopy(Catalogue::Kind::Reticle, u"2"_s,
                                               folder.game() + u"/mods/"_s)},
                       {})
                .commit();
        } catch (const Failure& failure) {
            QCOMPARE(failure.number(), FailureNumber::PermissionDenied);
            refused = failure.place();
        }
        QCOMPARE(refused, archive);
        QCOMPARE(Checks::bytesOf(archive), QByteArray("old archive"));
    }

    void aReadOnlyDiskChangesNothing_data()
    {
        QTest::addColumn<QString>("what"); // written on the read-only disk
        QTest::newRow("save") << u"save"_s;
        QTest::newRow("game file") << u"game file"_s;
        QTest::newRow("user folder") << u"user folder"_s;
    }

    void aReadOnlyDiskChangesNothing()
    {
        QFETCH(QString, what);
        TestFolder folder; // its game folder holds the settings file, an archive, a user folder
        QFile::copy(folder.databaseFile(), folder.game() + u"/gtdb.inf"_s);
        const QString archive = u"mods/gtide_base/archives/bf1942/game.rfa"_s;
        Checks::writeBytes(folder.game() + u'/' + archive, "old archive");
        Checks::writeBytes(folder.file(u"cons/rt/2/game.rfa"_s), "real archive");
        QDir().mkpath(folder.game() + u"/own/cons/cr/1"_s); // the archive deleted by the player
        Checks::writeBytes(folder.game() + u"/own/gtdb.inf"_s, "the player's settings");
        const QString delivered = folder.file(u"share"_s);
        Checks::writeBytes(delivered + u"/gtdb.inf"_s, "delivered settings");
        Checks::writeBytes(delivered + u"/cons/cr/1/menu.rfa"_s, "placeholder");
        const QString disk = folder.file(u"disk"_s), db = disk + u"/gtdb.inf"_s,
                      own = disk + u"/own"_s;
        if (!mountReadOnly(folder.game(), disk))
            QSKIP("needs to mount file systems (run as root)");
        const auto unmount =
            qScopeGuard([&] { ::umount2(QFile::encodeName(disk).constData(), MNT_DETACH); });
        GameFiles files(folder.path());
        QString reported;
        try {
            if (what == u"save")
                SettingsStore(db).save(saved);
            else if (what == u"game file")
                files
                    .stage({Catalogue::archiveCopy(Catalogue::Kind::Reticle, u"2"_s,
                                                   disk + u"/mods/"_s)},
                           {})
                    .commit();
            else
                UserFolder(own, delivered).prepare();
        } catch (const Failure& failure) {
            reported = QString::number(failure.number());
        } catch (const std::runtime_error& failure) {
            reported = QString::fromStdString(failure.what());
        }
        QCOMPARE(reported, what == u"user folder"
                               ? u"Cannot copy "_s + own + u"/cons/cr/1/menu.rfa"_s
                               : QString::number(FailureNumber::PermissionDenied));
        QCOMPARE(Checks::bytesOf(db), Checks::bytesOf(folder.databaseFile()));
        QVERIFY(!QFile::exists(db + u"-journal"_s));
        QCOMPARE(Checks::bytesOf(disk + u'/' + archive), QByteArray("old archive"));
        QCOMPARE(Checks::filesIn(own),
                 (QMap<QString, QByteArray>{{u"gtdb.inf"_s, "the player's settings"}}));
    }
};

QTEST_GUILESS_MAIN(TestRefusedWrites)
#include "test_refusedwrites.moc"
