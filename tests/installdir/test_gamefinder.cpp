#include "core/installdir/GameFinder.h"
#include "core/installdir/GameSearch.h"
#include "core/installdir/HeroicGameFile.h"
#include "core/installdir/LutrisGameFile.h"
#include "core/installdir/MountedVolumes.h"
#include "core/installdir/SteamLibraries.h"
#include "core/installdir/WineRegistry.h"
#include "core/platform/NativeFileSystem.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
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

const QByteArray gameKey =
    "WINE REGISTRY Version 2\n\n[Software\\\\EA GAMES\\\\Battlefield 1942] 1\n";

} // namespace

// The game found where launchers record it, and "Choose Directory" with its lists.
class TestGameFinder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qunsetenv("WINEPREFIX");
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

    void cleanup() { program.reset(); } // gives the working directory back
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

    // Shown deep down, its own row and its first subfolders are in view.
    void theOpenedFolderAndItsFirstSubfoldersAreInView()
    {
        for (int i = 0; i < 30; ++i)
            QVERIFY(QDir(listed).mkpath(u"sub%1"_s.arg(i, 2, 10, QChar(u'0'))));
        DirList list;
        list.resize(130, 126);
        list.show();
        list.setPath(listed);
        for (const int row : {depth, depth + 1})
            QVERIFY(list.viewport()->rect().contains(list.visualItemRect(list.item(row))));
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

    void setupBrowsesAndOnlyOkStores()
    {
        startIn(true, 1);
        QWidget* chooser = TestProgram::window("Form4");
        QVERIFY(control<QPushButton>("Command2")->isVisible());
        QCOMPARE(control<QLabel>("Label1")->text(),
                 u"Please choose your Battlefield 1942 directory"_s);
        const SettingsRecord before = program->settings();
        QTRY_VERIFY(!control<DriveList>("Drive1")->isSearching());
        QTest::keyClick(control<DriveList>("Drive1"), Qt::Key_Home); // the game found
        QCOMPARE(control<QLabel>("Label1")->text(), games.first());
        control<QPushButton>("Command2")->click();
        QVERIFY(!chooser->isVisible());
        program->inMain<QAction>("msetup")->trigger();
        chooser->close(); // the close box after start-up: no message, nothing kept
        QCOMPARE(program->ends, 0);
        QCOMPARE(program->messages(), QStringList());
        QCOMPARE(program->settings(), before);

        program->inMain<QAction>("msetup")->trigger(); // made anew, at the working folder
        QCOMPARE(control<DirList>("Dir1")->path(),
                 QDir::toNativeSeparators(program->folder.path()));
        QTRY_VERIFY(!control<DriveList>("Drive1")->isSearching());
        chooser = TestProgram::window("Form4");
        control<QPushButton>("Command1")->click();
        QVERIFY(!chooser->isVisible());
        QCOMPARE(program->folder.storedRows().value(0).path, program->folder.path());
        // Stored after the first start, the packs stay as they were ticked.
        QCOMPARE(program->folder.storedRows().value(0).rtr, before.rtr);
    }

    // One game found: the first start opens it; more: the working folder.
    void aFirstStartOpensTheOnlyGameFound()
    {
        for (const qsizetype gamesFound : {1, 2}) {
            startIn(false, gamesFound);
            QString shown;
            program->whenDirectoryChooserShows([&](QWidget& chooser) {
                QTRY_VERIFY(!chooser.findChild<DriveList*>(u"Drive1"_s)->isSearching());
                shown = chooser.findChild<DirList*>(u"Dir1"_s)->path();
                chooser.findChild<QPushButton*>(u"Command1"_s)->click();
            });
            program->start();
            QCOMPARE(shown, gamesFound == 1 ? games.first() : program->folder.path());
            program.reset();
        }
    }

    void findsEveryRecordedGameWhateverStandsInPlaceOfAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const auto& [name, kind] :
             {std::pair{".wine/system.reg", "pipe"},
              {".local/share/Steam/steamapps/libraryfolders.vdf", "/dev/zero"},
              {".config/lutris/games/odd.yml", "folder"},
              {".config/heroic/GamesConfig/odd.json", "pipe"}})
            QTest::addRow("%s as %s", name, kind)
                << QString::fromUtf8(name) << QString::fromUtf8(kind);
    }

    void findsEveryRecordedGameWhateverStandsInPlaceOfAFile()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(homeFile(".wine/drive_c")));
        QVERIFY(QDir().mkpath(QFileInfo(homeFile(qPrintable(name))).path()));
        Checks::plant(kind, homeFile(qPrintable(name)));
        // A Lutris record in PyYAML's way: quoted, folded past 80 columns.
        const QString lutrisGame = makeGame("My Prefixes/bf/drive_c/Games/Battlefield 1942");
        Checks::writeBytes(
            homeFile(".local/share/lutris/games/battlefield-1942-1700000000.yml"),
            "game:\n  arch: win32\n  exe: ~/My Prefixes/bf/drive_c/Games/Battlefield\n"
            "    1942/BF1942.exe\n  prefix: '~/My Prefixes/bf' # custom\nwine: {}\n");
        // Heroic's prefix, where the registry names the game; the escapes its "C:" gives.
        const QString heroicGame = makeGame("heroic-bf/drive_c/EA/BF1942");
        Checks::writeBytes(homeFile("heroic-bf/system.reg"),
                           gameKey
                               + QByteArray("\"GAMEDIR\"=\"C:\\\\EA\\\\BF1942\"\n"
                                            "\"Odd\"=\"C:\\\\..\\\\..\\\\..\\\\outside\"\n"
                                            "\"Odder\"=\"D:\\\\self\\\\cwd\\\\game\"\n"
                                            "\"Oddest\"=\"E:\\\\proc\\\\self\\\\cwd\\\\game\"\n"));
        QVERIFY(QDir().mkpath(homeFile("heroic-bf/dosdevices")));
        QVERIFY(QFile::link(QStringLiteral("/proc"), homeFile("heroic-bf/dosdevices/d:"))
                && QFile::link(QStringLiteral("/"), homeFile("heroic-bf/dosdevices/e:")));
        makeGame("outside"); // where the ".." would lead
        Checks::writeBytes(homeFile(".config/heroic/GamesConfig/bfapp.json"),
                           R"({"bfapp": {"winePrefix": "~/heroic-bf"}, "version": "v0"})");

        qputenv("HOME", QFile::encodeName(home->path()));
        QFuture<GameSearch::Found> search = GameSearch::start();
        QVERIFY(QTest::qWaitFor([&] { return search.isFinished(); }, 10000));
        QStringList found;
        for (const GameFinder::Game& game : search.result().games)
            found << game.label() + u' ' + game.folder;
        QCOMPARE(found, (QStringList{u"Battlefield 1942 (Lutris battlefield-1942) "_s + lutrisGame,
                                     u"Battlefield 1942 (Heroic bfapp) "_s + heroicGame}));
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

    // The program in a fresh folder and home with games; with a stored path, "S&etup" open.
    void startIn(bool withPath, qsizetype gamesFound)
    {
        program = std::make_unique<TestProgram>(
            TestFolder::Row{}, withPath ? TestProgram::Start::Later : TestProgram::Start::First);
        const QDir home(program->folder.file(u"home"_s));
        qputenv("HOME", QFile::encodeName(home.path()));
        games.clear();
        for (const char* prefix : QList{".wine", "Games/bf1942"}.first(gamesFound)) {
            games << QDir::toNativeSeparators(home.filePath(
                QString::fromUtf8(prefix) + u"/drive_c/Program Files/EA GAMES/Battlefield 1942"_s));
            QVERIFY(QDir().mkpath(games.last() + u"/mods/bf1942"_s));
        }
        if (withPath) {
            program->start();
            program->inMain<QAction>("msetup")->trigger();
        }
    }

    template <typename Control> static Control* control(const char* name)
    {
        return TestProgram::control<Control>("Form4", name);
    }

    QString homeFile(const char* relative) const
    {
        return home->filePath(QString::fromUtf8(relative));
    }

    QString makeGame(const char* relative)
    {
        const QString folder = homeFile(relative);
        Checks::writeBytes(folder + QStringLiteral("/BF1942.exe"), {});
        return QDir::toNativeSeparators(folder);
    }

    const TestFolder current;            // its game is what /proc/self/cwd/game leads to
    std::unique_ptr<QTemporaryDir> home; // of "Choose Directory"'s tests
    std::unique_ptr<TestProgram> program;
    QStringList games;
    QTemporaryDir prefixHome; // a home of Wine prefixes

    QStringList prefixWheres;
    QList<std::pair<QString, QString>> expectedGames;
    QTemporaryDir temp;
    QString listed; // a game folder
    int depth = 0;  // of its row
};

QTEST_MAIN(TestGameFinder)
#include "test_gamefinder.moc"
