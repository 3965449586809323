#include "core/common/Failure.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"

#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The names the list shows below the current folder, each with its depth.
QStringList rowsFrom(const DirList& list, int first) {
    QStringList rows;
    for (int row = first; row < list.count(); ++row)
        rows << QStringLiteral("%1 %2")
                    .arg(list.item(row)->data(Qt::UserRole).toInt())
                    .arg(list.item(row)->text());
    return rows;
}

} // namespace

class TestFolderLists : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(temp.isValid());
        game = temp.filePath(QStringLiteral("a/b/c/d/e/f/Battlefield 1942 – Ünïcode"));
        for (const char* child : {"b10", "B2", "a1", "c", ".hidden/.inner"})
            QVERIFY(QDir(game).mkpath(QString::fromUtf8(child)));
        Checks::writeBytes(game + QStringLiteral("/BF1942.exe"), {});
        depth = int(QDir::cleanPath(game).count(u'/'));
    }

    void showsAncestorsTheFolderAndItsSortedSubfolders() {
        DirList list;
        list.setPath(game);
        QCOMPARE(list.currentRow(), depth);
        QCOMPARE(list.item(0)->toolTip(), native(QDir::rootPath()));
        QCOMPARE(list.item(depth - 1)->text(), QStringLiteral("f"));
        QCOMPARE(list.item(depth)->toolTip(), native(game));
        const QString d = QString::number(depth);
        const QString below = QString::number(depth + 1);
        QCOMPARE(rowsFrom(list, depth),
                 (QStringList{d + QStringLiteral(" Battlefield 1942 – Ünïcode"),
                              below + QStringLiteral(" a1"), below + QStringLiteral(" B2"),
                              below + QStringLiteral(" b10"), below + QStringLiteral(" c")}));
        list.setPath(game + QStringLiteral("/.hidden"));
        QCOMPARE(rowsFrom(list, depth + 2),
                 QStringList{QString::number(depth + 2) + QStringLiteral(" .inner")});
    }

    void setPathEmitsTheNativeFullPathOnceAndRefusesWhatIsNoFolder() {
        DirList list;
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.setPath(game + QStringLiteral("/./"));
        list.setPath(native(game));
        for (const char* name : {"/missing", "/BF1942.exe"})
            QCOMPARE(Checks::failureOf([&] { list.setPath(game + QString::fromUtf8(name)); }), 71);
        QCOMPARE(list.path(), native(game));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), native(game));
        list.setPath(QDir::rootPath());
        QCOMPARE(list.path(), native(QDir::rootPath()));
    }

    void keys_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("opened"); // relative to the game folder
        QTest::addColumn<int>("changes");
        QTest::newRow("down, enter") << QStringLiteral("D\n") << QStringLiteral("a1") << 1;
        QTest::newRow("end, enter") << QStringLiteral("E\n") << QStringLiteral("c") << 1;
        QTest::newRow("type-ahead") << QStringLiteral("b1\n") << QStringLiteral("b10") << 1;
        QTest::newRow("up, enter") << QStringLiteral("U\n") << QStringLiteral("..") << 1;
        QTest::newRow("home, enter") << QStringLiteral("H\n") << QDir::rootPath() << 1;
        QTest::newRow("backspace") << QStringLiteral("<") << QStringLiteral("..") << 1;
        QTest::newRow("down only selects") << QStringLiteral("DD") << QStringLiteral(".") << 0;
        QTest::newRow("open, up, open") << QStringLiteral("DD\nU\n") << QStringLiteral(".") << 2;
    }

    void keys() {
        QFETCH(QString, keys);
        QFETCH(QString, opened);
        QFETCH(int, changes);
        DirList list;
        list.setPath(game);
        QSignalSpy spy(&list, &DirList::pathChanged);
        const QHash<QChar, Qt::Key> named{{u'D', Qt::Key_Down},    {u'U', Qt::Key_Up},
                                          {u'H', Qt::Key_Home},    {u'E', Qt::Key_End},
                                          {u'\n', Qt::Key_Return}, {u'<', Qt::Key_Backspace}};
        for (const QChar key : keys) {
            if (named.contains(key))
                QTest::keyClick(&list, named[key]);
            else
                QTest::keyClicks(&list, key);
        }
        const QString expected = native(QDir::cleanPath(QDir(game).absoluteFilePath(opened)));
        QCOMPARE(list.path(), expected);
        QCOMPARE(spy.count(), changes);
    }

    void aDoubleClickOpensAndAClickSelects() {
        DirList list;
        list.resize(129, 126);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setPath(game);
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.scrollToItem(list.item(depth + 2));
        const QPoint b2 = list.visualItemRect(list.item(depth + 2)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, b2);
        QCOMPARE(spy.count(), 0);
        QCOMPARE(list.currentRow(), depth + 2);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, b2);
        QCOMPARE(list.path(), native(game + QStringLiteral("/B2")));
        QCOMPARE(spy.count(), 1);
    }

    void aVanishedFolderIsNotOpened() {
        DirList list;
        list.setPath(game);
        QVERIFY(QDir(game + QStringLiteral("/a1")).removeRecursively());
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.path(), native(game));
        QCOMPARE(list.item(depth + 1)->text(), QStringLiteral("B2"));
    }

    void driveListShowsTheDriveOfAPathByItsLongestRoot() {
        DriveList list;
        list.setDrives(
            {{native(QStringLiteral("/")), QStringLiteral("/ (root)")},
             {native(QStringLiteral("/media/usb")), QStringLiteral("/media/usb (USBSTICK)")},
             {native(QStringLiteral("/media/usb/inner")), QStringLiteral("inner")}});
        QCOMPARE(list.count(), 3);
        QCOMPARE(list.itemText(1), QStringLiteral("/media/usb (USBSTICK)"));
        QSignalSpy spy(&list, &DriveList::driveChanged);
        for (const auto& [path, drive] :
             {std::pair{"/media/usb/inner/games/Battlefield 1942", "/media/usb/inner"},
              {"/media/usb/innerx", "/media/usb"},
              {"/media/usbx", "/"},
              {"/media/usb", "/media/usb"}}) {
            list.setDrive(native(QString::fromUtf8(path)));
            QCOMPARE(list.drive(), native(QString::fromUtf8(drive)));
        }
        list.setDrives({{native(QStringLiteral("/")), QStringLiteral("/")},
                        {native(QStringLiteral("/media/usb")), QStringLiteral("usb")}});
        QCOMPARE(list.drive(),
                 native(QStringLiteral("/media/usb"))); // new drives keep the shown one
        QCOMPARE(spy.count(), 0);                       // code emits nothing

        list.showPopup();
        QTest::keyClick(list.view(), Qt::Key_Return); // the shown drive picked again
        QVERIFY(!list.view()->isVisible());
        QCOMPARE(spy.count(), 0);
        QTest::keyClick(&list, Qt::Key_Up);
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toString(), native(QStringLiteral("/")));
        QCOMPARE(spy.at(1).at(0).toString(), native(QStringLiteral("/media/usb")));
        QCOMPARE(list.drive(), native(QStringLiteral("/media/usb")));
    }

    void theMachineDrivesHoldTheRootAndTheWorkingVolume() {
        const QString root = native(QDir::rootPath());
        const QString working = native(QStorageInfo(QDir::currentPath()).rootPath());
        QStringList roots;
        for (const DriveList::Drive& drive : DriveList::machineDrives())
            roots << drive.root;
        QVERIFY(roots.contains(root) && roots.contains(working));
        DriveList real;
        QCOMPARE(real.drive(), working);
        real.setDrive(QDir::rootPath());
        QCOMPARE(real.drive(), root);
    }

private:
    QTemporaryDir temp;
    QString game;
    int depth = 0; // of the game folder's row
};

QTEST_MAIN(TestFolderLists)
#include "test_dirlist.moc"
