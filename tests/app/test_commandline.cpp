#include "core/app/GameRestore.h"
#include "import/ImportFixture.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString program = u"" GRIMTIDE_SWITCH_PROGRAM ""_s;
const QString pathCommand = u"" GRIMTIDE_PATH_COMMAND ""_s; // hands every argument on unread

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    // Through the command on the PATH, as a player types them.
    void anOptionWithoutAWindowLeavesNothingBehind_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("why"); // none: answered with the line below
        QTest::addColumn<QString>("answer");
        const auto row = [](const char* name, const QStringList& arguments, const QString& why,
                            const QString& answer = {}) {
            QTest::newRow(name) << arguments << why << answer;
        };
        row("--version", {u"--version"_s}, {}, u"GPLv3+: GNU GPL version 3 or later"_s);
        row("--help", {u"--help"_s}, {},
            u"  --restore-game     Puts back the game's own files, as they were before the\n"_s);
        row("unknown option", {u"--bogus"_s}, u"Unknown option 'bogus'."_s);
        row("two actions", {u"--restore-game"_s, u"--import-archives"_s},
            u"--restore-game and --import-archives can't be given together."_s);
        row("an argument to --restore-game", {u"--restore-game"_s, u"cons"_s},
            u"unexpected argument 'cons'."_s);
        row("two paths", {u"--import-archives"_s, u"a"_s, u"b"_s}, u"unexpected argument 'b'."_s);
        row("a path alone", {u"cons"_s}, u"unexpected argument 'cons'."_s);
        row("a mode of no name", {u"--play"_s, u"Grimtide"_s},
            u"--play takes pure or grimtide, not 'Grimtide'."_s);
        row("--dry-run with another action", {u"--restore-game"_s, u"--dry-run"_s},
            u"--dry-run goes only with --play."_s);
        // Without a PATH the import asks in a window, which a terminal has none for.
        row("an import without a path", {u"--import-archives"_s},
            u"--import-archives needs a PATH where no window can open."_s);
    }

    void anOptionWithoutAWindowLeavesNothingBehind()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, why);
        QFETCH(QString, answer);
        const QTemporaryDir home;
        const ProgramRun run = ProgramRun::in(home.path(), pathCommand, arguments, home.path());
        QCOMPARE(run.status, why.isEmpty() ? 0 : 2);
        QVERIFY2(answer.isEmpty() || run.out.contains(answer), qPrintable(run.out));
        QCOMPARE(run.err, why.isEmpty()
                              ? QString()
                              : u"grimtide-switch: %1 Try 'grimtide-switch --help'.\n"_s.arg(why));
        QCOMPARE(entriesOf(home.path()), QStringList());
    }

    // --play finds no settings yet; an import makes the folder; a start lays out "cons" first.
    void theCommandOnThePathWorksInThePlayersFolder()
    {
        const ImportFixture s;
        QTemporaryDir home;
        const QDir own(home.filePath(u"grimtide-switch"_s));
        for (const QString& mode : {u"--dry-run"_s, u"grimtide"_s}) {
            const ProgramRun run =
                ProgramRun::in(home.path(), pathCommand, {u"--play"_s, mode}, home.path());
            QCOMPARE(run.status, mode == u"grimtide"_s ? 2 : 1);
            QCOMPARE(run.err,
                     u"grimtide-switch: The settings file %1/gtdb.inf does not exist.\n"_s.arg(
                         QDir::toNativeSeparators(own.path())));
            QCOMPARE(entriesOf(own.path()), QStringList());
        }
        const ProgramRun run = ProgramRun::in(s.folder.path(), pathCommand,
                                              {u"--import-archives"_s, u"mod"_s}, home.path());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.section(u'\n', -2),
                 u"23 archives imported into %1.\n"_s.arg(own.filePath(u"cons"_s)));
        QCOMPARE(QFile(own.filePath(u"cons/rt/2/game.rfa"_s)).size(),
                 ImportFixture::realContent(u"rt/2/game.rfa"_s).size());
        QVERIFY(QDir(own.filePath(u"cons"_s)).removeRecursively());
        QProcess started;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            environment.insert(QString::fromLatin1(name), home.path());
        started.setProcessEnvironment(environment);
        started.start(pathCommand, {});
        const QString process = u"/proc/%1/"_s.arg(started.processId());
        QTRY_COMPARE_WITH_TIMEOUT(
            QFileInfo(process + u"exe"_s).canonicalFilePath(),
            QFileInfo(u"" GRIMTIDE_INSTALLED_PROGRAM ""_s).canonicalFilePath(), 30000);
        QCOMPARE(QFileInfo(process + u"cwd"_s).canonicalFilePath(), own.canonicalPath());
        QVERIFY(QFileInfo(own.filePath(u"cons/rt/3/game.rfa"_s)).isFile());
        // A box says whose it is in its title: only the terminal's line names the program.
        const QString why = u"Grimtide Switch is running in this folder; close it, then restore "
                            "the game's files.\n"_s;
        QTRY_COMPARE(GameRestore::run(own.path()).text, why);
        const ProgramRun refused = ProgramRun::in(own.path(), program, {u"--restore-game"_s});
        QCOMPARE(refused.status, GameRestore::refused);
        QCOMPARE(refused.err, u"grimtide-switch: "_s + why);
        started.kill();
        started.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_commandline.moc"
