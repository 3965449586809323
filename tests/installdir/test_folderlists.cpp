#include "core/installdir/MountedVolumes.h"
#include "core/platform/NativeFileSystem.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"

#include <QStorageInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The names the list shows from the row on, each indented by its depth below it.
QStringList rowsFrom(const DirList& list, int first)
{
    const int top = list.item(first)->data(Qt::UserRole).toInt();
    QStringList rows;
    for (int row = first; row < list.count(); ++row)
        rows << QString(list.item(row)->data(Qt::UserRole).toInt() - top, u' ')
                    + list.item(row)->text();
    return rows;
}

} // namespace

class TestFolderLists : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        game = temp.filePath(u"a/b/c/d/e/f/Battlefield 1942 – Ünïcode"_s);
        for (const char* child : {"b10", "b2", "B2", "a1", "c", ".hidden/.inner"})
            QVERIFY(QDir(game).mkpath(QString::fromUtf8(child)));
        depth = int(QDir::cleanPath(game).count(u'/'));
    }

    // The arrows only select; a folder gone since it was listed is not opened.
    void listsTheFolderAndOpensARowByKeyOrDoubleClick()
    {
        DirList list;
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.setPath(game + u"/./"_s);
        list.setPath(native(game)); // the same folder again
        QCOMPARE(Checks::failureOf([&] { list.setPath(game + u"/missing"_s); }), 71);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), native(game));
        QCOMPARE(list.item(0)->text(), native(QDir::rootPath()));
        QCOMPARE(list.item(depth)->toolTip(), native(game));
        QCOMPARE(rowsFrom(list, depth - 1),
                 u"f| Battlefield 1942 – Ünïcode|  a1|  B2|  b2|  b10|  c"_s.split(u'|'));
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.path(), native(game + u"/a1"_s));
        QTest::keyClick(&list, Qt::Key_Backspace);
        emit list.itemDoubleClicked(list.item(depth + 2));
        QCOMPARE(list.path(), native(game + u"/B2"_s));
        QTest::keyClick(&list, Qt::Key_Backspace);
        QVERIFY(QDir(game + u"/a1"_s).removeRecursively());
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.item(depth + 1)->text(), u"B2"_s);
        QCOMPARE(spy.count(), 5);
        list.setPath(game + u"/.hidden"_s);
        QCOMPARE(rowsFrom(list, depth + 1), u".hidden| .inner"_s.split(u'|'));
    }

    void driveListShowsTheDriveOfAPathByItsLongestRoot()
    {
        const QString root = native(u"/"_s), usb = native(u"/media/usb"_s);
        const QString working = native(QStorageInfo(QDir::currentPath()).rootPath());
        QStringList volumes;
        for (const MountedVolumes::Volume& volume : MountedVolumes::list())
            volumes << volume.root;
        QCOMPARE(volumes.removeDuplicates(), 0);
        DriveList list;
        QCOMPARE(list.drive(), working);
        list.setDrives({{root, u"/ (root)"_s},
                        {usb, u"/media/usb (USBSTICK)"_s},
                        {native(u"/media/usb/inner"_s), u"inner"_s}});
        QCOMPARE(list.itemText(1), u"/media/usb (USBSTICK)"_s);
        QSignalSpy spy(&list, &DriveList::driveChanged);
        QStringList drives;
        for (const char* path : {"/media/usbx", "/media/usb/inner/games/Battlefield 1942",
                                 "/media/usb/innerx", "/media/usb"}) {
            list.setDrive(native(QString::fromUtf8(path)));
            drives << list.drive();
        }
        QCOMPARE(drives, (QStringList{root, native(u"/media/usb/inner"_s), usb, usb}));
        QCOMPARE(spy.count(), 0); // code emits nothing, only a pick
    }

    void onlyTheSystemsFoldersAndVolumesAreSkipped()
    {
        QStringList skipped, offered;
        for (const char* path :
             {"/proc/self/cwd", "/dev/shm", "/procedures", "/run/media/p/USB", "/"})
            if (NativeFileSystem::isSystemFolder(QString::fromUtf8(path)))
                skipped << QString::fromUtf8(path);
        QCOMPARE(skipped, (QStringList{u"/proc/self/cwd"_s, u"/dev/shm"_s}));
        for (const auto& [root, type] : {std::pair{"/", "ext4"},
                                         {"/running", "ext4"},
                                         {"/run/media/p/USB", "ext4"},
                                         {"/boot/efi", "vfat"},
                                         {"/mnt/ram", "tmpfs"}})
            if (NativeFileSystem::mayHoldGames(QString::fromUtf8(root), type))
                offered << QString::fromUtf8(root);
        QCOMPARE(offered, (QStringList{u"/"_s, u"/running"_s}));
    }

private:
    QTemporaryDir temp;
    QString game;
    int depth = 0; // of the game folder's row
};

QTEST_MAIN(TestFolderLists)
#include "test_folderlists.moc"
