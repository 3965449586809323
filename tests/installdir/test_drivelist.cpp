#include "gui/widgets/DriveList.h"

#include <QAbstractItemView>
#include <QDir>
#include <QSignalSpy>
#include <QStorageInfo>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

QString native(const char* path)
{
    return QDir::toNativeSeparators(QString::fromUtf8(path));
}

} // namespace

class TestDriveList : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        list = std::make_unique<DriveList>();
        list->setDrives({{native("/"), QStringLiteral("/ (root)")},
                         {native("/media/usb"), QStringLiteral("/media/usb (USBSTICK)")},
                         {native("/media/usb/inner"), QStringLiteral("inner")}});
    }

    void itemsShowTheirLabels()
    {
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->itemText(1), QStringLiteral("/media/usb (USBSTICK)"));
    }

    void setDrivePicksTheLongestMatchingRoot()
    {
        list->setDrive(native("/media/usb/inner/games/Battlefield 1942"));
        QCOMPARE(list->drive(), native("/media/usb/inner"));
        list->setDrive(native("/media/usb/innerx"));
        QCOMPARE(list->drive(), native("/media/usb"));
        list->setDrive(native("/media/usbx"));
        QCOMPARE(list->drive(), native("/"));
        list->setDrive(native("/media/usb"));
        QCOMPARE(list->drive(), native("/media/usb"));
    }

    void codeEmitsNothing()
    {
        QSignalSpy spy(list.get(), &DriveList::driveChanged);
        list->setDrive(native("/media/usb/x"));
        list->setDrives({{native("/"), QStringLiteral("/")}});
        QCOMPARE(spy.count(), 0);
    }

    void thePlayersPickEmits()
    {
        list->setDrive(native("/"));
        QSignalSpy spy(list.get(), &DriveList::driveChanged);
        QTest::keyClick(list.get(), Qt::Key_Down);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), native("/media/usb"));
        QCOMPARE(list->drive(), native("/media/usb"));
        QTest::keyClick(list.get(), Qt::Key_Up);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), native("/"));
    }

    void pickingTheShownDriveAgainEmitsNothing()
    {
        list->setDrive(native("/media/usb"));
        QSignalSpy spy(list.get(), &DriveList::driveChanged);
        list->showPopup();
        QTest::keyClick(list->view(), Qt::Key_Return);
        QVERIFY(!list->view()->isVisible());
        QCOMPARE(spy.count(), 0);
        QCOMPARE(list->drive(), native("/media/usb"));
    }

    void newDrivesKeepTheShownOne()
    {
        list->setDrive(native("/media/usb"));
        list->setDrives({{native("/"), QStringLiteral("/")}, {native("/media/usb"), QStringLiteral("usb")}});
        QCOMPARE(list->drive(), native("/media/usb"));
    }

    void theMachineListHoldsTheRootAndTheWorkingVolume()
    {
        const QList<DriveList::Drive> drives = DriveList::machineDrives();
        const auto listed = [&](const QString& root) {
            return std::any_of(drives.begin(), drives.end(), [&](const auto& d) { return d.root == root; });
        };
        const QString working = QDir::toNativeSeparators(QStorageInfo(QDir::currentPath()).rootPath());
        QVERIFY(listed(QDir::toNativeSeparators(QDir::rootPath())));
        QVERIFY(listed(working));
        DriveList real;
        QCOMPARE(real.drive(), working);
        real.setDrive(QDir::rootPath());
        QCOMPARE(real.drive(), QDir::toNativeSeparators(QDir::rootPath()));
    }

private:
    std::unique_ptr<DriveList> list;
};

QTEST_MAIN(TestDriveList)
#include "test_drivelist.moc"
