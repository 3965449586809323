#include "core/installdir/GameFinder.h"
#include "core/installdir/HeroicGameFile.h"
#include "core/installdir/LutrisGameFile.h"
#include "core/installdir/MountedVolumes.h"
#include "core/installdir/SteamLibraries.h"
#include "core/installdir/WineRegistry.h"
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

class TestGameFinder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        const QByteArray retail = "\n[Software\\\\EA GAMES\\\\Battlefield 1942] 1\n";
        // In finding order. The game of ~/.wine is registered too: listed once.
        game(".wine", "~/.wine",
             retail + "\"GAMEDIR\"=\"C:\\\\Program Files\\\\EA GAMES\\\\Battlefield 1942\"");
        game("elsewhere/wp", "$WINEPREFIX",
             retail + "\"GAMEDIR\"=\"C:\\\\Games\\\\BF 1942 \\xdc\\x15bn\\\\\"",
             "drive_c/Games/BF 1942 Ü\u015bn", "mods/BF1942");
        game("Games/bf1942", "~/Games/bf1942", {},
             "drive_c/program files (x86)/ea games/BATTLEFIELD 1942", "bf1942.EXE");
        game("Games/not a game", "~/Games/not a game", {},
             "drive_c/Program Files/EA GAMES/Battlefield 1942", "readme.txt");
        game("Games/Heroic/Prefixes/default/BF", "Heroic BF",
             "\n[Software\\\\Wow6432Node\\\\ea games\\\\battlefield 1942] 1\n"
             "\"InstallDir\"=str(2):\"c:\\\\ea\\\\bf1942\"",
             "drive_c/EA/BF1942", "BF1942.exe");
        game("Games/Heroic/Prefixes/Old", "Heroic Old", {},
             "drive_c/Program Files (x86)/Origin Games/Battlefield 1942", "Mods/bf1942");
        game(".local/share/bottles/bottles/B1", "Bottles B1");
        game(".var/app/com.usebottles.bottles/data/bottles/bottles/B2", "Bottles B2");
        game(".local/share/Steam/steamapps/compatdata/100/pfx", "Steam 100");
        game(".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/300/pfx",
             "Steam 300");
        game("libraries/Steam Library/steamapps/compatdata/400/pfx", "Steam 400");
        game(".local/share/wineprefixes/wp1", "~/.local/share/wineprefixes/wp1");
        game(".PlayOnLinux/wineprefix/pol", "PlayOnLinux pol");
        Checks::writeBytes(
            prefixHome.filePath(u".local/share/Steam/steamapps/libraryfolders.vdf"_s),
            "\"LibraryFolders\" { \"1\" \""
                + prefixHome.filePath(u"libraries/Steam Library"_s).toUtf8() + "\" }");
        game("volume", "", {}, "Program Files/EA GAMES/Battlefield 1942");
    }

    void init()
    {
        listed = temp.filePath(u"a/b/c/d/e/f/Battlefield 1942 – Ünïcode"_s);
        for (const char* child : {"b10", "b2", "B2", "a1", "c", ".hidden/.inner"})
            QVERIFY(QDir(listed).mkpath(QString::fromUtf8(child)));
        depth = int(QDir::cleanPath(listed).count(u'/'));
    }

    // The arrows only select; a folder gone since it was listed is not opened.
    void listsTheFolderAndOpensARowByKeyOrDoubleClick()
    {
        DirList list;
        QSignalSpy spy(&list, &DirList::pathChanged);
        list.setPath(listed + u"/./"_s);
        list.setPath(native(listed)); // the same folder again
        QCOMPARE(Checks::failureOf([&] { list.setPath(listed + u"/missing"_s); }), 71);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), native(listed));
        QCOMPARE(list.item(0)->text(), native(QDir::rootPath()));
        QCOMPARE(list.item(depth)->toolTip(), native(listed));
        QCOMPARE(rowsFrom(list, depth - 1),
                 u"f| Battlefield 1942 – Ünïcode|  a1|  B2|  b2|  b10|  c"_s.split(u'|'));
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.path(), native(listed + u"/a1"_s));
        QTest::keyClick(&list, Qt::Key_Backspace);
        emit list.itemDoubleClicked(list.item(depth + 2));
        QCOMPARE(list.path(), native(listed + u"/B2"_s));
        QTest::keyClick(&list, Qt::Key_Backspace);
        QVERIFY(QDir(listed + u"/a1"_s).removeRecursively());
        QTest::keyClick(&list, Qt::Key_Down);
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.item(depth + 1)->text(), u"B2"_s);
        QCOMPARE(spy.count(), 5);
        list.setPath(listed + u"/.hidden"_s);
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

    void findsTheGameOfEveryPrefixKindOnce()
    {
        const auto prefixes =
            WinePrefixes::find(prefixHome.path(), prefixHome.filePath(u"elsewhere/wp"_s));
        QStringList wheres;
        for (const WinePrefixes::Prefix& prefix : prefixes)
            wheres << prefix.where;
        QCOMPARE(wheres, prefixWheres);
        const QString volume = QDir::toNativeSeparators(prefixHome.filePath(u"volume"_s));
        QList<std::pair<QString, QString>> found;
        for (const GameFinder::Game& game : GameFinder::find(prefixes, {{volume, u"USB"_s}}))
            found.append({game.label(), game.folder});
        expectedGames.last().first = u"Battlefield 1942 (%1)"_s.arg(volume);
        QCOMPARE(found, expectedGames);
    }

    // Both text forms, escapes, the default value, each section of the key, a truncated file.
    void registryValues()
    {
        const QByteArray registry = "WINE REGISTRY Version 2\n\n"
                                    "[Software\\\\A\\\\BC] 1\n\"X\"=\"no\"\n"
                                    "[Software\\\\a\\\\b] 1\n@=\"C:\\\\a \\\"b\\\"\"\n"
                                    "\"Y\"=str(2):\"\\xe9\\x00e9\\xd83d\\xde00\"\n"
                                    "\"Z\"=dword:00000001\n\"Z\n"
                                    "[Software\\\\A] 1\n\"X\"=\"no\"\n"
                                    "[Software\\\\A\\\\B] 1\n\"X\"=\"C:\\\\";
        QCOMPARE(WineRegistry({u"software\\a\\b"_s}).textValues(registry),
                 (QStringList{u"C:\\a \"b\""_s, u"éé😀"_s, u"C:\\"_s}));
    }

    void launcherFiles()
    {
        QCOMPARE(SteamLibraries::pathsIn("\"libraryfolders\"\n{\n \"0\"\n {\n  \"path\" \"/a b\"\n"
                                         "  \"apps\" { \"228980\" \"1\" }\n }\n"
                                         " \"1\" { \"path\" \"D:\\\\Steam\" }\n}"),
                 (QStringList{u"/a b"_s, u"D:\\Steam"_s}));
        QCOMPARE(HeroicGameFile::prefixes(R"({"winePrefix": "/a", "bf": {"winePrefix": "/b"},
                                              "c": {"winePrefix": "/a"}, "version": "v0"})"),
                 (QStringList{u"/a"_s, u"/b"_s}));
        // Lutris: only the game's own keys count.
        QStringList lutris;
        for (const char* yaml :
             {"game:\n  exe: /g/BF1942.exe\n  prefix: ~/p\nsystem: {}\n",
              "system:\n  prefix: /no\ngame:\n  exe: ~\n  prefix:\n    nested: /no\n  sub:\n"
              "    exe: /no\n",
              "game:\n  prefix: \"/p\n  exe: \"\\q\"\nwine:\n  exe: /no\ngame: {prefix: "
              "/no}\n\tprefix: /no\n",
              ""}) {
            const LutrisGameFile::Game game = LutrisGameFile::parse(yaml);
            lutris << game.prefix + u'|' + game.exe;
        }
        QCOMPARE(lutris, (QStringList{u"~/p|/g/BF1942.exe"_s, u"|"_s, u"|"_s, u"|"_s}));
    }

private:
    // A prefix with drive_c, and a game folder in it holding the marker (a folder if it has '/').
    void game(const char* prefix, const char* where, const QByteArray& registry = {},
              const char* folder = "drive_c/Program Files/EA GAMES/Battlefield 1942",
              const char* marker = "BF1942.exe")
    {
        const QDir at(prefixHome.filePath(QString::fromUtf8(prefix)));
        QVERIFY(at.mkpath(u"drive_c"_s));
        if (!registry.isNull())
            Checks::writeBytes(at.filePath(u"system.reg"_s), registry);
        if (*where)
            prefixWheres << QString::fromUtf8(where);
        const QDir game(at.filePath(QString::fromUtf8(folder)));
        const QString file = QString::fromUtf8(marker);
        QVERIFY(game.mkpath(file.contains(u'/') ? file : u"."_s));
        if (!file.contains(u'/'))
            Checks::writeBytes(game.filePath(file), {});
        if (file != u"readme.txt"_s)
            expectedGames.append({u"Battlefield 1942 (%1)"_s.arg(QString::fromUtf8(where)),
                                  QDir::toNativeSeparators(game.path())});
    }

    QTemporaryDir prefixHome; // a home of Wine prefixes

    QStringList prefixWheres;
    QList<std::pair<QString, QString>> expectedGames;
    QTemporaryDir temp;
    QString listed; // a game folder
    int depth = 0;  // of its row
};

QTEST_MAIN(TestGameFinder)
#include "test_gamefinder.moc"
