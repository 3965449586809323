#include "gui/widgets/DriveList.h"
#include "core/installdir/WinePrefixes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

// Every prefix kind in a home of its own, with look-alikes that are no prefix.
class TestWinePrefixes : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(home.isValid());
        for (const char* folder : {".wine/drive_c", "Games/bf1942/drive_c", "Games/Battle Ünïcode/drive_c",
                                   "Games/no prefix/drive_d",
                                   ".local/share/Steam/steamapps/compatdata/2460/pfx/drive_c",
                                   ".local/share/Steam/steamapps/compatdata/310/drive_c"})
            QVERIFY(QDir(home.path()).mkpath(QString::fromUtf8(folder)));
        QFile lutrisFile(home.filePath(QStringLiteral("Games/notes.txt")));
        QVERIFY(lutrisFile.open(QIODevice::WriteOnly));
    }

    void findsEachPrefixLabelledByWhereItIs()
    {
        QList<std::pair<QString, QString>> found;
        for (const WinePrefixes::DriveC& driveC : WinePrefixes::find(home.path()))
            found.append({driveC.label, driveC.root});
        const auto drive = [&](const char* label, const char* prefix) {
            return std::pair{QString::fromUtf8(label),
                             QDir::toNativeSeparators(home.filePath(QString::fromUtf8(prefix)) + QStringLiteral("/drive_c"))};
        };
        QCOMPARE(found, (QList<std::pair<QString, QString>>{
                            drive("C: (~/.wine)", ".wine"),
                            drive("C: (~/Games/Battle Ünïcode)", "Games/Battle Ünïcode"),
                            drive("C: (~/Games/bf1942)", "Games/bf1942"),
                            drive("C: (Steam 2460)", ".local/share/Steam/steamapps/compatdata/2460/pfx")}));
    }

    void anEmptyHomeHasNone()
    {
        const QTemporaryDir empty;
        QVERIFY(WinePrefixes::find(empty.path()).isEmpty());
    }

    void theMachineDrivesEndWithThePrefixesOfTheHome()
    {
        qputenv("HOME", QFile::encodeName(home.path()));
        const QList<DriveList::Drive> drives = DriveList::machineDrives();
        QVERIFY(drives.size() > 4);
        QCOMPARE(drives.last().label, QStringLiteral("C: (Steam 2460)"));
        DriveList list;
        const QString wine = QDir::toNativeSeparators(home.filePath(QStringLiteral(".wine/drive_c")));
        list.setDrive(wine + QDir::separator() + QStringLiteral("Battlefield 1942"));
        QCOMPARE(list.drive(), wine);
        QCOMPARE(list.currentText(), QStringLiteral("C: (~/.wine)"));
    }

private:
    QTemporaryDir home;
};

QTEST_MAIN(TestWinePrefixes)
#include "test_wineprefixes.moc"
