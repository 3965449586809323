#include "core/installdir/GameSearch.h"
#include "gui/widgets/DirList.h"
#include "gui/widgets/DriveList.h"
#include "support/Checks.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QByteArray gameKey =
    "WINE REGISTRY Version 2\n\n[Software\\\\EA GAMES\\\\Battlefield 1942] 1\n";

} // namespace

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qunsetenv("WINEPREFIX"); }
    void cleanup() { program.reset(); } // gives the working directory back

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

    const TestFolder current; // its game is what /proc/self/cwd/game leads to
    std::unique_ptr<QTemporaryDir> home;
    std::unique_ptr<TestProgram> program;
    QStringList games;
};

QTEST_MAIN(TestForm4)
#include "test_form4.moc"
