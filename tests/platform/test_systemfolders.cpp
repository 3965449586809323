#include "core/platform/NativeFileSystem.h"

#include <QTest>

using namespace Qt::StringLiterals;

// The system's own folders and file systems, where no game is looked for and no volume is
// offered.
class TestSystemFolders : public QObject {
    Q_OBJECT
private slots:
    void onlyTheKernelsFoldersAreSkippedWhenLooking_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("system");
        QTest::newRow("processes") << u"/proc"_s << true;
        QTest::newRow("a process's folder, a link anywhere") << u"/proc/self/cwd"_s << true;
        QTest::newRow("devices") << u"/sys/class/block"_s << true;
        QTest::newRow("device files") << u"/dev/shm"_s << true;
        QTest::newRow("a name that only starts so") << u"/procedures"_s << false;
        QTest::newRow("a drive mounted under /run") << u"/run/media/p/USB"_s << false;
        QTest::newRow("a home") << u"/home/p/Games"_s << false;
        QTest::newRow("the root") << u"/"_s << false;
    }

    void onlyTheKernelsFoldersAreSkippedWhenLooking()
    {
        QFETCH(QString, path);
        QFETCH(bool, system);
        QCOMPARE(NativeFileSystem::isSystemFolder(path), system);
    }

    void aVolumeIsOfferedUnlessItIsTheSystems_data()
    {
        QTest::addColumn<QString>("root");
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<bool>("offered");
        QTest::newRow("the root disk") << u"/"_s << QByteArray("ext4") << true;
        QTest::newRow("a USB stick") << u"/media/p/USB"_s << QByteArray("vfat") << true;
        QTest::newRow("a folder that only starts like /run")
            << u"/running"_s << QByteArray("ext4") << true;
        QTest::newRow("mounted under /run") << u"/run/media/p/USB"_s << QByteArray("ext4") << false;
        QTest::newRow("the boot partition") << u"/boot/efi"_s << QByteArray("vfat") << false;
        QTest::newRow("a snap") << u"/snap/core/1"_s << QByteArray("squashfs") << false;
        QTest::newRow("memory") << u"/mnt/ram"_s << QByteArray("tmpfs") << false;
        QTest::newRow("a container's root") << u"/"_s << QByteArray("overlay") << false;
        QTest::newRow("the kernel's") << u"/sys/fs/cgroup"_s << QByteArray("cgroup2") << false;
    }

    void aVolumeIsOfferedUnlessItIsTheSystems()
    {
        QFETCH(QString, root);
        QFETCH(QByteArray, type);
        QFETCH(bool, offered);
        QCOMPARE(NativeFileSystem::mayHoldGames(root, type), offered);
    }
};

QTEST_GUILESS_MAIN(TestSystemFolders)
#include "test_systemfolders.moc"
