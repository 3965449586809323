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

// Refused by a read-only disk, a save leaves the old file, and laying out the
// user folder says so and lays down nothing. (A full disk is the fault
// shim's ENOSPC, in test_copierfaults.)
class TestRefusedWrites : public QObject {
    Q_OBJECT
private slots:
    void aReadOnlyDiskChangesNothing_data()
    {
        QTest::addColumn<bool>("save"); // or else the launcher laying out the user folder
        QTest::newRow("save") << true;
        QTest::newRow("user folder") << false;
    }

    void aReadOnlyDiskChangesNothing()
    {
        QFETCH(bool, save);
        TestFolder folder; // its game folder holds the settings file and the user folder
        QFile::copy(folder.databaseFile(), folder.game() + u"/gtdb.inf"_s);
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
        QString reported;
        try {
            save ? SettingsStore(db).save(saved) : UserFolder(own, delivered).prepare();
        } catch (const Failure& failure) {
            reported = QString::number(failure.number());
        } catch (const std::runtime_error& failure) {
            reported = QString::fromStdString(failure.what());
        }
        QCOMPARE(reported, save ? QString::number(FailureNumber::PermissionDenied)
                                : u"Cannot copy "_s + own + u"/cons/cr/1/menu.rfa"_s);
        QCOMPARE(Checks::bytesOf(db), Checks::bytesOf(folder.databaseFile()));
        QVERIFY(!QFile::exists(db + u"-journal"_s));
        QCOMPARE(Checks::filesIn(own),
                 (QMap<QString, QByteArray>{{u"gtdb.inf"_s, "the player's settings"}}));
    }
};

QTEST_GUILESS_MAIN(TestRefusedWrites)
#include "test_refusedwrites.moc"
