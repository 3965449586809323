#include "core/installdir/GameSearch.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray gameKey =
    "WINE REGISTRY Version 2\n\n[Software\\\\EA GAMES\\\\Battlefield 1942] 1\n";

} // namespace

// Homes that hold games where launchers record them and whatever else a player or another program
// left there: the search ends promptly, finds the games and offers nothing outside a drive.
class TestGameSearch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qunsetenv("WINEPREFIX"); }

    void findsEveryRecordedGameWhateverStandsInPlaceOfAFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        for (const char* name :
             {".wine/system.reg", ".local/share/Steam/steamapps/libraryfolders.vdf",
              ".config/lutris/games/odd.yml", ".config/heroic/GamesConfig/odd.json"})
            for (const char* kind : {"pipe", "socket", "/dev/zero", "folder"})
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
        // A Lutris prefix of the player's own, named nowhere else, with the game outside the
        // usual folders; its record in PyYAML's way: quoted where needed, folded past 80 columns.
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

    // A search long enough to act during it: prefixes whose registries all are one large file.
    void aSigtermDuringTheSearchEndsTheProgramAtOnce()
    {
        current.writeSettings(TestFolder::Row{}); // a first start: "Choose Directory", the search
        makeSlowHome(60);
        qputenv("HOME", QFile::encodeName(home->path())); // and offscreen, as this test runs
        QProcess program;
        program.setWorkingDirectory(current.path());
        program.start(QStringLiteral(GRIMTIDE_SWITCH_PROGRAM), {});
        QVERIFY(program.waitForStarted());
        QTest::qWait(1500);
        program.terminate(); // SIGTERM
        QVERIFY(program.waitForFinished(1000));
        QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
    }

    void aFirstStartStaysWhereThePlayerWentDuringTheSearch()
    {
        TestProgram program({}, TestProgram::Start::First);
        const TestFolder& folder = program.folder;
        makeSlowHome(6);
        qputenv("HOME", QFile::encodeName(home->path()));
        bool searching = false;
        program.whenDirectoryChooserShows([&](QWidget& chooser) {
            DriveList* drives = chooser.findChild<DriveList*>(u"Drive1"_s);
            searching = drives->isSearching();
            chooser.findChild<DirList*>(u"Dir1"_s)->setPath(folder.game());
            QTRY_VERIFY_WITH_TIMEOUT(!drives->isSearching(), 60000);
            chooser.findChild<QPushButton*>(u"Command1"_s)->click();
        });
        program.start();
        QVERIFY(searching);
        QCOMPARE(folder.storedRows().value(0).path, QDir::toNativeSeparators(folder.game()));
    }

private:
    void makeSlowHome(int prefixes)
    {
        home = std::make_unique<QTemporaryDir>();
        makeGame("Games/game/drive_c/Program Files/EA GAMES/Battlefield 1942"); // the only game
        QByteArray registry = gameKey;
        while (registry.size() < (8 << 20))
            registry += "[Software\\\\Classes\\\\CLSID\\\\{0}] 1\n@=\"x\"\n";
        Checks::writeBytes(homeFile("registry"), registry);
        for (int prefix = 0; prefix < prefixes; ++prefix) {
            const QString at = homeFile("Games/p") + QString::number(prefix);
            QVERIFY(QDir().mkpath(at + QStringLiteral("/drive_c"))
                    && QFile::link(homeFile("registry"), at + QStringLiteral("/system.reg")));
        }
    }

    QString homeFile(const char* relative) const
    {
        return home->filePath(QString::fromUtf8(relative));
    }

    // A game folder in the home, returned in native form.
    QString makeGame(const char* relative)
    {
        const QString folder = homeFile(relative);
        Checks::writeBytes(folder + QStringLiteral("/BF1942.exe"), {});
        return QDir::toNativeSeparators(folder);
    }

    const TestFolder current; // its game is what /proc/self/cwd/game leads to
    std::unique_ptr<QTemporaryDir> home;
};

QTEST_MAIN(TestGameSearch)
#include "test_gamesearch.moc"
