#include "core/installdir/GameFinder.h"
#include "core/installdir/SteamLibraries.h"
#include "core/installdir/WineRegistry.h"
#include "support/Checks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray registryNaming(const char* key, const char* value) {
    return QByteArray("WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n[") + key +
           "] 1700000000\n#time=1d9\n\"Other\"=dword:00000001\n" + value +
           "\n\n[Software\\\\Next] 1\n";
}

} // namespace

// A fake home holding every kind of prefix, each with its game placed one
// way or another, beside prefixes that must cost nothing but themselves.
class TestGameFinder : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        const QByteArray wow = "Software\\\\Wow6432Node\\\\ea games\\\\battlefield 1942";
        const QByteArray retail = "Software\\\\EA GAMES\\\\Battlefield 1942";
        // prefix, where, its system.reg, the game's folder in it (or none), its marker
        game(".wine", "~/.wine");
        game("elsewhere/wp", "$WINEPREFIX",
             registryNaming(retail, "\"GAMEDIR\"=\"C:\\\\Games\\\\BF 1942 \\xdc\\x15bn\\\\\""),
             "drive_c/Games/BF 1942 Ü\u015bn", "mods/BF1942");
        game("Games/bf1942", "~/Games/bf1942", {},
             "drive_c/program files (x86)/ea games/BATTLEFIELD 1942", "bf1942.EXE");
        game("Games/Heroic/Prefixes/default/BF", "Heroic BF",
             registryNaming(wow, "\"InstallDir\"=str(2):\"c:\\\\ea\\\\bf1942\""),
             "drive_c/EA/BF1942", "BF1942.exe");
        game("Games/Heroic/Prefixes/Old", "Heroic Old", {},
             "drive_c/Program Files (x86)/Origin Games/Battlefield 1942", "Mods/bf1942");
        game(".local/share/bottles/bottles/B1", "Bottles B1");
        game(".var/app/com.usebottles.bottles/data/bottles/bottles/B2", "Bottles B2");
        game(".local/share/Steam/steamapps/compatdata/100/pfx", "Steam 100");
        game(".steam/steam/steamapps/compatdata/200/pfx", "Steam 200");
        game(".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/compatdata/300/pfx",
             "Steam 300");
        game("libraries/Steam Library/steamapps/compatdata/400/pfx", "Steam 400");
        game(".local/share/wineprefixes/wp1", "~/.local/share/wineprefixes/wp1");
        game(".PlayOnLinux/wineprefix/pol", "PlayOnLinux pol");
        // Bad inputs: nothing found in them, nothing lost elsewhere.
        game("Games/binary", "~/Games/binary",
             QByteArray("\0\xff\n[\n[Software\\\\EA GAMES\\\\Battlefield 1942]\n\"", 48) +
                 QByteArray(4096, '\xfe'),
             {});
        game("Games/missing", "~/Games/missing",
             registryNaming(retail, "\"GAMEDIR\"=\"C:\\\\Nowhere\""), {});
        game("Games/truncated", "~/Games/truncated",
             registryNaming(retail, "\"GAMEDIR\"=\"C:\\\\Gam").left(120), {});
        game("Games/not a game", "~/Games/not a game", {},
             "drive_c/Program Files/EA GAMES/Battlefield 1942", "readme.txt");
        // Registers the game of ~/.wine through its Z: drive: listed once.
        QByteArray twin =
            home.filePath(text(".wine/drive_c/Program Files/EA GAMES/Battlefield 1942")).toUtf8();
        twin.replace("/", "\\\\");
        game("Games/twin", "~/Games/twin", registryNaming(retail, "\"GAMEDIR\"=\"Z:" + twin + "\""),
             {});
        QVERIFY(QDir(home.path()).mkpath(text("Games/twin/dosdevices")));
        QVERIFY(QFile::link(text("/"), home.filePath(text("Games/twin/dosdevices/z:"))));
        QFile huge(home.filePath(text("Games/huge/system.reg")));
        QVERIFY(QDir().mkpath(home.filePath(text("Games/huge/drive_c"))) &&
                huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(50 << 20));
        prefixWheres << text("~/Games/huge");
        for (const auto& [target, link] :
             {std::pair{"gone", "dangling"}, {"loop", "loop"}, {"..", "up"}})
            QVERIFY(QFile::link(text(target), home.filePath(text("Games/") + text(link))));
        Checks::writeBytes(home.filePath(text(".local/share/Steam/steamapps/libraryfolders.vdf")),
                           "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                               home.filePath(QStringLiteral(".local/share/Steam")).toUtf8() +
                               "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                               home.filePath(QStringLiteral("libraries/Steam Library")).toUtf8() +
                               "\"\n\t}\n}\n");
        game("volume", "", {}, "Program Files/EA GAMES/Battlefield 1942");
    }

    void findsTheGameOfEveryPrefixKindOnce() {
        const auto prefixes =
            WinePrefixes::find(home.path(), home.filePath(QStringLiteral("elsewhere/wp")));
        QStringList wheres;
        for (const WinePrefixes::Prefix& prefix : prefixes)
            wheres << prefix.where;
        QStringList expectedWheres = prefixWheres;
        expectedWheres.sort();
        wheres.sort();
        QCOMPARE(wheres, expectedWheres);

        const QString volume = QDir::toNativeSeparators(home.filePath(QStringLiteral("volume")));
        QList<std::pair<QString, QString>> found;
        for (const GameFinder::Game& game :
             GameFinder::find(prefixes, {{volume, QStringLiteral("USB")}}))
            found.append({game.label(), game.folder});
        expectedGames.last().first = QStringLiteral("Battlefield 1942 (%1)").arg(volume);
        QCOMPARE(found, expectedGames);
    }

    void registryValues_data() {
        QTest::addColumn<QByteArray>("registry");
        QTest::addColumn<QStringList>("values");
        const QByteArray key = "[Software\\\\A\\\\B] 1\n";
        QTest::newRow("both forms") << key + "\"X\"=\"C:\\\\a \\\"b\\\"\"\n\"Y\"=str(2):\"%T%\"\n"
                                    << QStringList{text("C:\\a \"b\""), text("%T%")};
        QTest::newRow("other keys")
            << "[Software\\\\A\\\\BC] 1\n\"X\"=\"no\"\n[Software\\\\A] 1\n\"X\"=\"no\"\n" + key +
                   "@=\"yes\"\n"
            << QStringList{text("yes")};
        QTest::newRow("hex escapes") << key + "\"X\"=\"\\xe9\\x00e9\\xd83d\\xde00\"\n"
                                     << QStringList{text("éé😀")};
        QTest::newRow("no text") << key + "\"X\"=dword:00000001\n\"Y\"=hex:00\n\"Z\n"
                                 << QStringList{};
        QTest::newRow("truncated") << key + "\"X\"=\"C:\\\\" << QStringList{text("C:\\")};
    }

    void registryValues() {
        QFETCH(QByteArray, registry);
        QFETCH(QStringList, values);
        QCOMPARE(WineRegistry::textValues("WINE REGISTRY Version 2\n\n" + registry,
                                          {text("software\\a\\b")}),
                 values);
    }

    void steamLibraries_data() {
        QTest::addColumn<QByteArray>("vdf");
        QTest::addColumn<QStringList>("paths");
        QTest::newRow("current")
            << QByteArray("\"libraryfolders\"\n{\n \"0\"\n {\n  \"path\" \"/a b\"\n  \"apps\" { "
                          "\"228980\" \"1\" }\n }\n \"1\" { \"path\" \"D:\\\\Steam\" }\n}")
            << QStringList{text("/a b"), text("D:\\Steam")};
        QTest::newRow("older") << QByteArray("\"LibraryFolders\"\n{\n \"TimeNextStatsReport\" "
                                             "\"1\"\n \"1\" \"/mnt/games\"\n}")
                               << QStringList{text("/mnt/games")};
        QTest::newRow("broken") << QByteArray(
                                       "\"libraryfolders\" { \"0\" { \"path\" \"/unterminated")
                                << QStringList{};
    }

    void steamLibraries() {
        QFETCH(QByteArray, vdf);
        QFETCH(QStringList, paths);
        QCOMPARE(SteamLibraries::pathsIn(vdf), paths);
    }

private:
    // A prefix (with drive_c) at the relative path, and a game in it that the
    // finder must list, where marker is given and is one.
    void game(const char* prefix, const char* where, const QByteArray& registry = {},
              const char* folder = "drive_c/Program Files/EA GAMES/Battlefield 1942",
              const char* marker = "BF1942.exe") {
        const QDir at(home.filePath(text(prefix)));
        QVERIFY(at.mkpath(QStringLiteral("drive_c")));
        if (!registry.isNull())
            Checks::writeBytes(at.filePath(QStringLiteral("system.reg")), registry);
        if (*where)
            prefixWheres << text(where);
        if (!folder)
            return;
        const QString game = at.filePath(text(folder));
        const QString markerPath = game + u'/' + text(marker);
        QVERIFY(QDir().mkpath(text(marker).contains(u'/') ? markerPath : game));
        if (!text(marker).contains(u'/'))
            Checks::writeBytes(markerPath, {});
        if (text(marker).compare(QStringLiteral("readme.txt")) != 0)
            expectedGames.append({QStringLiteral("Battlefield 1942 (%1)").arg(text(where)),
                                  QDir::toNativeSeparators(game)});
    }

    QTemporaryDir home;
    QStringList prefixWheres;
    QList<std::pair<QString, QString>> expectedGames;
};

QTEST_MAIN(TestGameFinder)
#include "test_gamefinder.moc"
