#include "core/installdir/GameFinder.h"
#include "core/installdir/HeroicGameFile.h"
#include "core/installdir/LutrisGameFile.h"
#include "core/installdir/SteamLibraries.h"
#include "core/installdir/WineRegistry.h"
#include "support/Checks.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

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
        Checks::writeBytes(home.filePath(u".local/share/Steam/steamapps/libraryfolders.vdf"_s),
                           "\"LibraryFolders\" { \"1\" \""
                               + home.filePath(u"libraries/Steam Library"_s).toUtf8() + "\" }");
        game("volume", "", {}, "Program Files/EA GAMES/Battlefield 1942");
    }

    void findsTheGameOfEveryPrefixKindOnce()
    {
        const auto prefixes = WinePrefixes::find(home.path(), home.filePath(u"elsewhere/wp"_s));
        QStringList wheres;
        for (const WinePrefixes::Prefix& prefix : prefixes)
            wheres << prefix.where;
        QCOMPARE(wheres, prefixWheres);
        const QString volume = QDir::toNativeSeparators(home.filePath(u"volume"_s));
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
        const QDir at(home.filePath(QString::fromUtf8(prefix)));
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

    QTemporaryDir home;
    QStringList prefixWheres;
    QList<std::pair<QString, QString>> expectedGames;
};

QTEST_MAIN(TestGameFinder)
#include "test_gamefinder.moc"
