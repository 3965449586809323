#include "core/app/GameRestore.h"
#include "core/common/FailureText.h"
#include "core/common/GamePaths.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/GameProcess.h"
#include "core/platform/InstanceLock.h"
#include "core/platform/NativeFileSystem.h"
#include "gui/archives/ArchiveImport.h"
#include "gui/widgets/ImageCombo.h"
#include "import/ImportFixture.h"
#include "support/Checks.h"
#include "support/ProgramRun.h"
#include "support/RecordingSink.h"
#include "support/StartedSession.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QFileDialog>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>

#include <filesystem>

using namespace Qt::StringLiterals;
using Restored = GameFileWriter::Restored;

namespace {

const QByteArray ownBaseGame = "the game's own bf1942, version 1.6";
const QString aLink = u"a link, which the program never follows"_s;

// The game's own files (its archives where asked), and the player's files beside the folder.
struct OwnGame : TestProgram {
    explicit OwnGame(const TestFolder::Row& row = {}, bool realArchives = false)
        : TestProgram(row, Start::Later)
    {
        Checks::writeBytes(mods(u"bf1942/init.con"_s), ownBaseGame);
        Checks::writeBytes(mods(u"xpack1/init.con"_s), "the game's own xpack1");
        if (realArchives) {
            Checks::writeBytes(mods(u"gtide_base/archives/menu.rfa"_s), "real crosshairs");
            Checks::writeBytes(mods(u"gtide_base/archives/bf1942/game.rfa"_s), "real reticles");
        }
        Checks::writeBytes(outside(u"victim"_s), "a file of the player's");
        Checks::writeBytes(outside(u"secret"_s), "a secret of the player's");
        Checks::writeBytes(outside(u"other/mods/bf1942/init.con"_s), "another game's own bf1942");
    }
    QTemporaryDir beside;
    QString outside(const QString& name) const { return beside.filePath(name); }
    QMap<QString, QByteArray> files() const // the game's and the player's beside it
    {
        auto all = Checks::filesIn(beside.path());
        all.insert(Checks::filesIn(folder.game()));
        return all;
    }
};

// A harmless program under the game's name, which refuses every switch on the machine.
struct RunningGame : QProcess {
    explicit RunningGame(const TestFolder& folder)
    {
        QFile::copy(u"/bin/sleep"_s, folder.file(u"BF1942.exe"_s));
        start(folder.file(u"BF1942.exe"_s), {u"60"_s});
        waitForStarted();
    }
    ~RunningGame() override { kill(), waitForFinished(); }
};

// A journal, with a sound checksum, of a switch into Grimtide mode that gtdb.inf never saw.
QByteArray journalNaming(const QString& destination, const QString& temporary,
                         const QString& backup)
{
    const auto identity = NativeFileSystem::identity(destination);
    return Checks::journalOf(
        u"{\"deciding\":[{\"field\":\"status\",\"value\":\"Grimtide\"}],\"entries\":[{\"backup\":"
        "\"%1\",\"destination\":\"%2\",\"earlier\":[],\"staged\":\"%3\",\"temporary\":\"%4\"}]}"_s
            .arg(backup, destination,
                 identity ? u"%1:%2"_s.arg(identity->device).arg(identity->inode) : u"0:0"_s,
                 temporary)
            .toUtf8());
}

// The one set of kept files of the working folder.
QString keptSet()
{
    const QDir store(u"kept-game-files"_s);
    return store.absoluteFilePath(store.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0));
}

ProgramRun restoreGame(const TestFolder& folder)
{
    return ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, {u"--restore-game"_s});
}

const QString nothingToRestore = u"Nothing to restore: no game file has been replaced in the game "
                                 "gtdb.inf names since its own were last put back.\n"_s;

struct Journal {
    QString destination, temporary, backup;
    QString plant; // at the backup: a "file", a "link", or a file and a "linked journal"
    QString refused, why;
    bool atStart = true; // or else at --restore-game
};

// A restore, or else a Pure switch, after a change to the kept set; {set}: the set.
struct Tamper {
    QString tamper, refused, why;
    bool restore = true;
};

void run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    QVERIFY2(process.waitForFinished(120000), qPrintable(program));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
}

QString refusal(const QString& reason)
{
    return u"grimtide-switch: Nothing was imported: "_s + reason + u'\n';
}

// Runs the action on the next modal window of the type once it shows.
template <typename Window> void whenShown(const std::function<void(Window&)>& action)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(*window);
    });
    poll->start(10);
}

} // namespace

Q_DECLARE_METATYPE(Journal)
Q_DECLARE_METATYPE(Tamper)

class TestGameFiles : public QObject {
    Q_OBJECT
private slots:
    // Each journal would, read as it once was, remove or overwrite what it names.
    void aCraftedJournalIsSetAsideAndChangesNothing_data()
    {
        QTest::addColumn<Journal>("journal");
        const QString foreign = u"not one of the five game files in {game}"_s, none;
        const QString notOwn = u"its temporary or backup is not the program's own, beside it"_s;
        const QString notAbsolute = u"not an absolute path without \".\" or \"..\""_s;
        const QString victim = u"{outside}/victim"_s, part = u".grimtide-switch-u.part"_s;
        const QString other = u"{outside}/other/mods/bf1942/init.con"_s;
        const QString otherBackup = u"{outside}/other/mods/bf1942/.grimtide-switch-q.old"_s;
        const QString init = u"{game}/bf1942/init.con"_s, readme = u"{game}/bf1942/readme.txt"_s;
        const QString backup = u"{game}/bf1942/.grimtide-switch-l.old"_s;
        QTest::newRow("a file outside")
            << Journal{victim, u"{outside}/"_s + part, none, none, victim, foreign};
        const QString climbing = u"{game}/bf1942/../../../../{outsideName}/"_s;
        QTest::newRow("a way out by ..")
            << Journal{climbing + u"victim"_s, climbing + part, none, none,
                       climbing + u"victim"_s, notAbsolute};
        QTest::newRow("another game's file")
            << Journal{other, none, otherBackup, u"file"_s, other, foreign};
        // A start and --restore-game finish a journal alike (Session::load).
        QTest::newRow("a temporary not the program's, at --restore-game")
            << Journal{init, readme, none, none, init, notOwn, false};
        QTest::newRow("a backup that is a link")
            << Journal{init, none, backup, u"link"_s, backup, aLink};
        QTest::newRow("a journal that is a link") << Journal{
            init, none, backup, u"linked journal"_s, u"{working}/game-files.journal"_s, aLink};
    }

    void aCraftedJournalIsSetAsideAndChangesNothing()
    {
        QFETCH(Journal, journal);
        OwnGame s;
        Checks::writeBytes(s.mods(u"bf1942/readme.txt"_s), "the game's readme");
        const auto expand = [&](QString text) {
            return text.replace(u"{game}"_s, s.folder.game() + u"/mods"_s)
                .replace(u"{outsideName}"_s, QFileInfo(s.beside.path()).fileName())
                .replace(u"{outside}"_s, s.beside.path())
                .replace(u"{working}"_s, s.folder.path());
        };
        if (journal.plant == u"link")
            QFile::link(s.outside(u"secret"_s), expand(journal.backup));
        else if (!journal.plant.isEmpty())
            Checks::writeBytes(expand(journal.backup), "planted text");
        const QString journalFile = s.folder.file(u"game-files.journal"_s);
        const bool linked = journal.plant == u"linked journal";
        Checks::writeBytes(linked ? s.outside(u"journal"_s) : journalFile,
                           journalNaming(expand(journal.destination), expand(journal.temporary),
                                         expand(journal.backup)));
        if (linked)
            QFile::link(s.outside(u"journal"_s), journalFile);
        const auto before = s.files();
        const auto journalIdentity = NativeFileSystem::identity(journalFile);
        const QString told = u"The record of an interrupted update was refused and moved aside to "
                             "game-files.journal.rejected; nothing was done by it.\n"_s
                             + Checks::sentence(4004, expand(journal.refused), expand(journal.why));
        if (journal.atStart) {
            s.start();
            QCOMPARE(s.messages(), QStringList{told});
        } else {
            const GameRestore::Outcome outcome = GameRestore::run(s.folder.path());
            QCOMPARE(outcome.exitStatus, 0);
            QCOMPARE(outcome.text, told + u'\n' + nothingToRestore);
        }
        QCOMPARE(s.files(), before);
        QCOMPARE(NativeFileSystem::entryKind(journalFile), NativeFileSystem::Kind::None);
        QVERIFY(NativeFileSystem::identity(journalFile + u".rejected"_s) == journalIdentity);
    }

    // A restore or a Pure switch so refused writes and removes nothing.
    void aTamperedKeptSetIsRefused_data()
    {
        QTest::addColumn<Tamper>("row");
        const QString kept = u"{set}/bf1942-init.con"_s, manifest = u"{set}/manifest"_s;
        QTest::newRow("a kept file that is a link") << Tamper{u"link"_s, kept, aLink};
        QTest::newRow("a truncated kept file")
            << Tamper{u"truncated"_s, kept, u"not the size it was kept with"_s};
        QTest::newRow("a missing kept file") << Tamper{u"missing"_s, kept, u"missing"_s};
        QTest::newRow("an edited game folder")
            << Tamper{u"game folder"_s, manifest,
                      u"it names a game folder other than the one the set was kept for"_s};
        QTest::newRow("a record not the program's")
            << Tamper{u"record"_s, manifest, u"not a record this program wrote"_s};
        // A Pure switch checks a kept file, and finds its set, as a restore does.
        QTest::newRow("an edited kept file, at a Pure switch")
            << Tamper{u"edited"_s, kept, u"not the content it was kept with"_s, false};
        QTest::newRow("a linked set, at a Pure switch")
            << Tamper{u"linked set"_s, u"{set}"_s, aLink, false};
    }

    void aTamperedKeptSetIsRefused()
    {
        QFETCH(Tamper, row);
        const QString& tamper = row.tamper;
        OwnGame s;
        StartedSession program;
        program.session.switchTo(GameMode::Grimtide);
        const QString set = keptSet(), kept = set + u"/bf1942-init.con"_s;
        const QString manifest = set + u"/manifest"_s;
        if (tamper == u"link" || tamper == u"missing")
            QFile::remove(kept);
        if (tamper == u"link")
            QFile::link(s.outside(u"secret"_s), kept);
        else if (tamper == u"truncated")
            Checks::writeBytes(kept, ownBaseGame.first(8));
        else if (tamper == u"edited")
            Checks::writeBytes(kept, QByteArray(ownBaseGame).replace("1.6", "9.9"));
        else if (tamper == u"record")
            Checks::writeBytes(manifest, "a note of the player's");
        else if (tamper == u"linked set")
            QDir().rename(set, s.outside(u"set"_s)), QFile::link(s.outside(u"set"_s), set);
        if (tamper == u"game folder") {
            QJsonObject record = QJsonDocument::fromJson(Checks::bytesOf(manifest)).object();
            record[u"game-folder"_s] = s.outside(u"other/mods"_s);
            Checks::writeBytes(manifest, QJsonDocument(record).toJson());
        }
        const auto before = Checks::filesIn(s.folder.path()), outsideBefore = s.files();
        QString sentence;
        try {
            row.restore ? void(program.session.restoreGame())
                        : void(program.session.switchTo(GameMode::Pure));
        } catch (const Failure& failure) {
            sentence = FailureText::sentence(failure);
        }
        QCOMPARE(sentence, Checks::sentence(4005, row.refused.replace(u"{set}"_s, set), row.why));
        QCOMPARE(Checks::filesIn(s.folder.path()), before);
        QCOMPARE(s.files(), outsideBefore);
    }

    // The mod updated and the game patched after the program first wrote there.
    void thePlayersOwnUpdateWins_data()
    {
        QTest::addColumn<bool>("switchFirst");
        QTest::addColumn<int>("baseGame"); // how the restore leaves bf1942/init.con
        QTest::addColumn<int>("archive");  // and the mod's crosshair archive
        QTest::newRow("a restore")
            << false << int(Restored::ChangedSince) << int(Restored::ChangedSince);
        QTest::newRow("a switch and a pick, then a restore")
            << true << int(Restored::AlreadyOwn) << int(Restored::PutBack);
    }

    void thePlayersOwnUpdateWins()
    {
        QFETCH(bool, switchFirst);
        QFETCH(int, baseGame);
        QFETCH(int, archive);
        OwnGame game;
        // Dead temporaries in folders a switch does not write (Road to Rome is off) go too.
        const QStringList deadIn{game.mods(u"xpack1"_s),
                                 game.mods(u"gtide_base/archives/bf1942"_s)};
        for (const QString& folder : deadIn)
            Checks::writeBytes(folder + u"/.grimtide-switch-dead.part"_s, "half an archive");
        const QString menu = game.mods(u"gtide_base/archives/menu.rfa"_s);
        Checks::writeBytes(menu, "the mod's menu, v1");
        Checks::writeBytes(game.folder.file(u"cons/cr/3/menu.rfa"_s), "real crosshair 3");
        StartedSession program;
        Session& session = program.session;
        const auto switchAndPick = [&] {
            session.switchTo(GameMode::Grimtide);
            session.switchTo(GameMode::Pure);
            session.pick(Catalogue::Kind::Crosshair, 3);
            session.keepPicks();
        };
        switchAndPick();
        for (const QString& folder : deadIn)
            QCOMPARE(Checks::copierTemporariesIn(folder), QStringList());
        Checks::writeBytes(menu, "the mod's menu, v2");
        Checks::writeBytes(game.mods(u"bf1942/init.con"_s), "the game's own bf1942, patched");
        if (switchFirst) {
            switchAndPick();
            QCOMPARE(Checks::bytesOf(menu), "real crosshair 3");
        }
        const GameFileWriter::RestoreReport report = session.restoreGame();
        QStringList how;
        for (const GameFileWriter::RestoredFile& file : report.files)
            how << file.file + u' ' + QString::number(int(file.how));
        QCOMPARE(how, (QStringList{u"bf1942/init.con %1"_s.arg(baseGame),
                                   u"gtide_base/archives/menu.rfa %1"_s.arg(archive)}));
        QCOMPARE(Checks::bytesOf(game.mods(u"bf1942/init.con"_s)),
                 "the game's own bf1942, patched");
        QCOMPARE(Checks::bytesOf(menu), "the mod's menu, v2");
    }

    void aPlaceholderNeverReplacesARealArchive_data()
    {
        QTest::addColumn<int>("way"); // 0 a pick, 1 Secure Mode ticked, 2 a start in Secure Mode
        QTest::addColumn<QStringList>("homes"); // where the real archives belong
        QTest::newRow("pick") << 0 << QStringList{u"cr/1"_s};
        QTest::newRow("Secure Mode") << 1 << QStringList{u"cr/12"_s, u"rt/2"_s};
        QTest::newRow("start in Secure Mode") << 2 << QStringList{u"cr/12"_s, u"rt/2"_s};
    }

    void aPlaceholderNeverReplacesARealArchive()
    {
        QFETCH(int, way);
        QFETCH(QStringList, homes);
        OwnGame s({.cr = u"7"_s, .secure = way == 2 ? u"Yes"_s : u"No"_s}, true);
        const auto before = s.files();
        s.start();
        if (way == 0)
            s.withChooserOpen([](QWidget& chooser) {
                TestProgram::pick(*chooser.findChild<ImageCombo*>(u"ImageCombo1"_s), 1);
            });
        else if (way == 1)
            s.inMain<QCheckBox>("Check4")->click();
        for (QString& home : homes)
            home = QDir::toNativeSeparators(s.folder.file(u"cons/"_s + home) + u'/');
        QCOMPARE(s.messages(),
                 QStringList{u"Only a placeholder archive: the game holds the real one.\nNothing "
                             "was written; put the Grimtide mod's real archives into "_s
                             + homes.join(u" and "_s) + u'.'});
        QCOMPARE(s.files(), before);
    }

    // A file the player changed since the program wrote it stays; Secure Mode goes too; the set
    // kept of a game folder since moved away is told and left.
    void restoreGameGivesBackTheGamesOwnFilesTwice()
    {
        OwnGame s({.rtr = u"yes"_s, .cr = u"7"_s});
        Checks::writeBytes(s.folder.file(u"cons/cr/12/menu.rfa"_s), "secure crosshair");
        Checks::writeBytes(s.folder.file(u"cons/rt/2/game.rfa"_s), "secure reticle");
        const QString old = s.folder.file(u"old"_s);
        std::filesystem::copy(s.folder.game().toStdString(), old.toStdString(),
                              std::filesystem::copy_options::recursive);
        QString oldSet;
        {
            StartedSession program;
            program.session.setInstallPath(old, false);
            program.session.switchTo(GameMode::Grimtide);
            program.session.switchTo(GameMode::Pure);
            oldSet = keptSet();
            QVERIFY(QDir(old).removeRecursively());
            program.session.setInstallPath(s.folder.game(), false);
        }
        const auto oldSetFiles = Checks::filesIn(oldSet);
        const QString left = u"Left for you: %1 holds the game's own files of %2/mods, a folder "
                             "that no longer exists.\n"_s.arg(oldSet, old);
        s.start();
        s.inMain<QRadioButton>("Option2")->click();
        s.choose(4, 1);
        s.inMain<QCheckBox>("Check4")->click(); // the first choice's archive is not kept: none
        Checks::writeBytes(s.mods(u"xpack1/init.con"_s), "the player's own xpack1");
        auto own = s.files();
        QVERIFY(s.messages().isEmpty());
        QCOMPARE(own.value(u"mods/gtide_base/archives/menu.rfa"_s), "secure crosshair");
        const ProgramRun restored = restoreGame(s.folder);
        QCOMPARE(restored.status, 0);
        QCOMPARE(
            restored.out,
            u"The game's own files in %1/mods:\n"
            "  bf1942/init.con: put back\n"
            "  xpack1/init.con: left as it is: changed since this program last wrote it\n"
            "  gtide_base/archives/menu.rfa: removed (the program had added it)\n"
            "  gtide_base/archives/bf1942/game.rfa: removed (the program had added it)\n"_s.arg(
                s.folder.game())
                + left + u"gtdb.inf: the status is Pure and Secure Mode is off.\n"_s);
        own[u"mods/bf1942/init.con"_s] = ownBaseGame;
        own.remove(u"mods/gtide_base/archives/menu.rfa"_s);
        own.remove(u"mods/gtide_base/archives/bf1942/game.rfa"_s);
        QCOMPARE(s.files(), own);
        QCOMPARE(s.stored(&SettingsRecord::status), u"Pure"_s);
        QCOMPARE(s.stored(&SettingsRecord::secure), u"No"_s);
        QCOMPARE(restoreGame(s.folder).out, nothingToRestore + left);
        QCOMPARE(s.files(), own);
        QCOMPARE(Checks::filesIn(oldSet), oldSetFiles);
    }

    // Nothing is written while the game runs: picks undone then wait, journal whole, for its end.
    void aRunningGameLeavesAnUnfinishedUpdateForLater_data()
    {
        QTest::addColumn<int>("way"); // 1 a switch, 2 --restore-game, each after a start
        QTest::newRow("a switch") << 1;
        QTest::newRow("--restore-game") << 2;
    }

    void aRunningGameLeavesAnUnfinishedUpdateForLater()
    {
        QFETCH(int, way);
        OwnGame s({}, true);
        Checks::writeBytes(s.folder.file(u"cons/cr/4/menu.rfa"_s), "real crosshair 4");
        const QString journal = s.folder.file(u"game-files.journal"_s);
        std::optional<RunningGame> game;
        QMap<QString, QByteArray> picked;
        {
            StartedSession program;
            program.session.pick(Catalogue::Kind::Crosshair, 4);
            game.emplace(s.folder);
            picked = s.files();
            QCOMPARE(Checks::failureOf([&] { program.session.switchTo(GameMode::Grimtide); }),
                     4001);
            program.session.dropPicks();
            QCOMPARE(s.files(), picked);
        }
        const QByteArray written = Checks::bytesOf(journal);
        QVERIFY(!written.isEmpty());
        s.start();
        const QString told =
            u"Battlefield 1942 is running: please close it first.\n"_s
            + Checks::sentence(4003, u"process %1 (BF1942.exe)"_s.arg(game->processId()));
        QStringList expected{told};
        if (way == 1) {
            s.inMain<QRadioButton>("Option2")->click();
            expected << told;
        } else if (way == 2) {
            const ProgramRun refused = restoreGame(s.folder);
            QCOMPARE(refused.status, 1);
            QCOMPARE(refused.err, u"grimtide-switch: Nothing was restored.\n"_s + told + u'\n');
        }
        QCOMPARE(s.messages(), expected);
        QCOMPARE(s.files(), picked);
        QCOMPARE(Checks::bytesOf(journal), written);
        game.reset();
        StartedSession afterTheGame;
        QCOMPARE(Checks::bytesOf(s.mods(u"gtide_base/archives/menu.rfa"_s)), "real crosshairs");
        QCOMPARE(Checks::bytesOf(journal), QByteArray());
    }

    void anImportFillsConsAndAPickThenInstallsTheRealArchive_data()
    {
        QTest::addColumn<QString>("format"); // "" for the folder itself
        QTest::addColumn<QString>("top");
        QTest::newRow("folder") << QString() << QString();
        QTest::newRow("zip, the layout at its top") << u"zip"_s << QString();
        QTest::newRow("7z, the layout in a folder") << u"7zip"_s << u"grimtide archives/"_s;
    }

    void anImportFillsConsAndAPickThenInstallsTheRealArchive()
    {
        QFETCH(QString, format);
        QFETCH(QString, top);
        ImportFixture s;
        const QString source = format.isEmpty() ? s.mod() : s.pack(format, top);
        // The game holds the mod's real archive: a placeholder never replaces it.
        const QString menu = s.folder.game() + u"/mods/gtide_base/archives/menu.rfa"_s;
        Checks::writeBytes(menu, "the game's real crosshairs");
        GameFiles files(s.folder.path());
        const auto pickThree = [&] {
            files
                .stage({Catalogue::archiveCopy(Catalogue::Kind::Crosshair, u"3"_s,
                                               GamePaths::modsPath(s.folder.game()))},
                       {})
                .commit();
        };
        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QString());
        const QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 24);
        QCOMPARE((QStringList{lines.constFirst(), lines.at(22), lines.constLast()}),
                 (QStringList{
                     u"cr/1/menu.rfa: checked (1 of 23)"_s, u"rt/3/game.rfa: checked (23 of 23)"_s,
                     u"23 archives imported into %1."_s.arg(QDir::toNativeSeparators(s.cons()))}));
        for (const QString& archive : ImportFixture::archives())
            QCOMPARE(Checks::bytesOf(QDir(s.cons()).filePath(archive)),
                     ImportFixture::realContent(archive));
        QCOMPARE(Checks::failureOf(pickThree), 0);
        QCOMPARE(Checks::bytesOf(menu), QByteArray("real cr/3/menu.rfa"));
    }

    void anImportWithOneUnfitArchiveChangesNothing_data()
    {
        QTest::addColumn<QString>("spoilt"); // below the mod folder
        QTest::addColumn<QString>("how");    // "link TARGET" links it to that one
        QTest::addColumn<QString>("format"); // packed after the change, or "" for the folder
        QTest::addColumn<QList<ImportFixture::Entry>>("extra"); // more packed entries
        QTest::addColumn<QString>("reason");                    // %1 is the folder or packed file
        const auto row = [](const char* name, const QString& spoilt, const QString& how,
                            const QString& format, const QString& reason,
                            const QList<ImportFixture::Entry>& extra = {}) {
            QTest::newRow(name) << spoilt << how << format << extra << reason;
        };
        const QString placeholder =
            u"cr/7/menu.rfa in %1 is only a placeholder, not the mod's real archive."_s;
        row("placeholder", u"cr/7/menu.rfa"_s, u"placeholder"_s, {}, placeholder);
        row("missing", u"rt/2/game.rfa"_s, u"missing"_s, {}, u"rt/2/game.rfa in %1 is missing."_s);
        row("empty", u"cr/20/menu.rfa"_s, u"empty"_s, {}, u"cr/20/menu.rfa in %1 is empty."_s);
        row("a link to a real one", u"cr/4/menu.rfa"_s, u"link cr/1/menu.rfa"_s, {},
            u"cr/4/menu.rfa in %1 is a link, which the import never follows."_s);
        row("its folder a link", u"cr/9"_s, u"link cr/1"_s, {},
            u"cr/9 in %1 is a link, which the import never follows."_s);
        row("a folder in its place", u"cr/2/menu.rfa"_s, u"folder"_s, {},
            u"cr/2/menu.rfa in %1 is not a plain file."_s);
        row("zip: placeholder", u"cr/7/menu.rfa"_s, u"placeholder"_s, u"zip"_s, placeholder);
        row("zip: a wanted entry that is a link", u"cr/5/menu.rfa"_s, u"missing"_s, u"zip"_s,
            u"cr/5/menu.rfa in %1 is a link, which the import never follows."_s,
            {{u"cr/5/menu.rfa"_s, "../1/menu.rfa", true}});
        row("zip: an entry climbing out from within", {}, {}, u"zip"_s,
            u"cr/../../escaped in %1 climbs out of the archive."_s,
            {{u"cr/../../escaped"_s, "out of the archive"}});
        row("zip: an absolute entry", {}, {}, u"zip"_s,
            u"/tmp/escaped in %1 climbs out of the archive."_s, {{u"/tmp/escaped"_s, "anywhere"}});
    }

    void anImportWithOneUnfitArchiveChangesNothing()
    {
        QFETCH(QString, spoilt);
        QFETCH(QString, how);
        QFETCH(QString, format);
        QFETCH(QList<ImportFixture::Entry>, extra);
        QFETCH(QString, reason);
        ImportFixture s;
        const QString path = QDir(s.mod()).filePath(spoilt);
        if (!spoilt.isEmpty())
            QVERIFY(QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path));
        if (how == u"placeholder")
            Checks::writeBytes(path, GameFiles::placeholderMarker() + " cr/7");
        else if (how == u"empty")
            Checks::writeBytes(path, {});
        else if (how.startsWith(u"link "))
            QVERIFY(QFile::link(QDir(s.mod()).filePath(how.mid(5)), path));
        else if (how == u"folder")
            Checks::plant(how, path);
        const QString source = format.isEmpty() ? s.mod() : s.pack(format, {}, extra);
        const auto before = s.consFiles();
        const ProgramRun run = s.import({source});
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err, refusal(reason.arg(QDir::toNativeSeparators(source))));
        QCOMPARE(s.consFiles(), before);
        QVERIFY(!QFileInfo::exists(QDir(s.folder.path()).filePath(u"../escaped"_s)));
    }

    // Only an import the running program started itself goes ahead.
    void theCommandLineAndTheRunningProgram_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("arguments"); // MOD, SELF: the mod folder, this process
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        const QString waits = u"grimtide-switch: Grimtide Switch is running in this folder; "
                              "import the archives from its window, or close it first.\n"_s;
        QTest::newRow("started by hand") << true << QStringList{u"MOD"_s} << 2 << waits;
        QTest::newRow("claiming another starter")
            << true << QStringList{u"--started-by"_s, u"1"_s, u"MOD"_s} << 2 << waits;
        QTest::newRow("started by the running program")
            << true << QStringList{u"--started-by"_s, u"SELF"_s, u"MOD"_s} << 0 << QString();
        QTest::newRow("no path") << false << QStringList() << 2
                                 << u"grimtide-switch: --import-archives takes one PATH.\n"_s;
        QTest::newRow("an unknown option") << false << QStringList{u"--bogus"_s, u"a"_s} << 2
                                           << u"grimtide-switch: Unknown option 'bogus'.\n"_s;
    }

    void theCommandLineAndTheRunningProgram()
    {
        QFETCH(bool, running);
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        ImportFixture s;
        InstanceLock lock;
        if (running)
            QCOMPARE(lock.take(s.folder.file(u"gtdb.inf.lock"_s)), InstanceLock::Outcome::Held);
        arguments.replaceInStrings(u"MOD"_s, s.mod())
            .replaceInStrings(u"SELF"_s, QString::number(QCoreApplication::applicationPid()));
        const auto before = s.consFiles();
        const ProgramRun run = s.import(arguments);
        QCOMPARE(run.status, status);
        QCOMPARE(run.err, err);
        QCOMPARE(s.consFiles() == before, status != 0);
    }

    void aFailedImportSaysWhy()
    {
        ImportFixture s;
        Checks::writeBytes(QDir(s.mod()).filePath(u"rt/3/game.rfa"_s),
                           GameFiles::placeholderMarker());
        const auto before = s.consFiles();
        RecordingSink sink;
        QVERIFY(
            !ArchiveImport(sink, nullptr, u"" GRIMTIDE_IMPORT_PROGRAM ""_s).importFrom(s.mod()));
        QVERIFY(
            !ArchiveImport(sink, nullptr, s.folder.file(u"no-such-program"_s)).importFrom(s.mod()));
        QCOMPARE(sink.messages.size(), 2);
        QCOMPARE(sink.messages.constFirst(),
                 u"Nothing was imported: rt/3/game.rfa in %1 is only a placeholder, not the mod's "
                 "real archive."_s.arg(QDir::toNativeSeparators(s.mod())));
        QVERIFY2(sink.messages.constLast().startsWith(
                     u"The import program %1 could not be started: "_s.arg(
                         QDir::toNativeSeparators(s.folder.file(u"no-such-program"_s)))),
                 qPrintable(sink.messages.constLast()));
        QCOMPARE(s.consFiles(), before);
    }

    void theImportAsksWhereTheArchivesAre_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("a folder") << u"&Folder…"_s;
        QTest::newRow("a zip file") << u"&Zip or 7z file…"_s;
        QTest::newRow("cancelled") << u"Cancel"_s;
    }

    void theImportAsksWhereTheArchivesAre()
    {
        QFETCH(QString, answer);
        ImportFixture s;
        const QString zip = s.pack(u"zip"_s, u"cons/"_s);
        RecordingSink sink;
        whenShown<QMessageBox>([&](QMessageBox& question) {
            if (answer != u"Cancel")
                whenShown<QFileDialog>([&](QFileDialog& files) {
                    // Refused, the dialog is closed: a failure, never a hang.
                    const auto closed = qScopeGuard([&files] {
                        if (files.isVisible())
                            files.reject();
                    });
                    if (answer == u"&Folder…")
                        files.setDirectory(s.mod());
                    else // typed, as the player would, into the dialog's name field
                        files.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(zip);
                    QCOMPARE(files.selectedFiles(),
                             QStringList{answer == u"&Folder…" ? s.mod() : zip});
                    static_cast<QDialog&>(files).accept(); // the dialog's own Open
                });
            for (QAbstractButton* button : question.buttons())
                if (button->text() == answer)
                    button->click();
        });
        const bool imported = ArchiveImport(sink, nullptr, u"" GRIMTIDE_IMPORT_PROGRAM ""_s).run();
        QCOMPARE(imported, answer != u"Cancel");
        QCOMPARE(sink.messages, answer == u"Cancel"
                                    ? QStringList()
                                    : QStringList{u"23 archives imported into %1."_s.arg(
                                        QDir::toNativeSeparators(s.cons()))});
        // The file dialog's last folder is kept in the working folder, never in the home.
        QCOMPARE(QFileInfo::exists(s.folder.file(u"QtProject.conf"_s)), answer != u"Cancel");
    }

    // Battlefield 1942 (a small Windows stand-in) started under Debian's own Wine; last, as it
    // leaves this process in the game's home.
    void playUnderWineSwitchesStartsAndKeepsToTheRunningGame()
    {
        QTemporaryDir homeDir;
        QString home, game;
        QProcessEnvironment prefix; // the environment for Wine's own tools
        const auto endGame = [&prefix] {
            if (prefix.isEmpty())
                return;
            QProcess server;
            server.setProcessEnvironment(prefix);
            server.start(u"wineserver"_s, {u"-k"_s});
            server.waitForFinished(30000);
            QTRY_VERIFY_WITH_TIMEOUT(!GameProcess::running(), 30000);
        };
        const auto ended = qScopeGuard(endGame); // no game is left to refuse other switches
        for (const char* command : {"wine", "wineboot", "wineserver", "x86_64-w64-mingw32-gcc"}) {
            if (QStandardPaths::findExecutable(QString::fromUtf8(command)).isEmpty())
                QSKIP(qPrintable(
                    u"%1 is not installed (scripts/setup-packages test installs it)"_s.arg(
                        QString::fromUtf8(command))));
        }
        home = QDir(homeDir.path()).canonicalPath();
        game = home + u"/.wine/drive_c/Program Files/EA GAMES/Battlefield 1942"_s;
        for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
            QVERIFY(QDir(game).mkpath(u"mods/"_s + QLatin1String(folder)));
        // Quiet, windowless, no Mono or Gecko, nothing written outside the home.
        qputenv("WINEDEBUG", "-all");
        qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
            qunsetenv(name);
        qputenv("HOME", QFile::encodeName(home));
        QVERIFY(QDir(home).mkpath(u"tmp"_s));
        qputenv("TMPDIR", QFile::encodeName(home + u"/tmp"_s));
        QVERIFY(!GameProcess::running());
        run(u"x86_64-w64-mingw32-gcc"_s, {u"-Wall"_s, u"-O1"_s, u"-o"_s, game + u"/BF1942.exe"_s,
                                          QString::fromUtf8(GRIMTIDE_FAKEGAME_SOURCE)});
        prefix = QProcessEnvironment::systemEnvironment();
        prefix.insert(u"WINEPREFIX"_s, home + u"/.wine"_s);
        run(u"wineboot"_s, {u"--init"_s}, prefix);
        TestFolder folder;
        folder.writeSettings({.path = game});
        const QString running = u"grimtide-switch: Battlefield 1942 is running: please close it "
                                "first\\. Nothing was written to the game; it runs as process "
                                "[0-9]+ \\(BF1942\\.exe\\)\\.\n"_s;
        const struct Step {
            const char* name;
            QStringList arguments;
            int status;
            QString baseGame; // the cons file in bf1942/init.con after it
            bool endsTheGameFirst = false;
        } steps[] = {
            {"switched and started", {u"--play"_s, u"grimtide"_s}, 0, u"unbf"_s},
            {"a switch while it runs", {u"--play"_s, u"pure"_s}, 2, u"unbf"_s},
            {"a second start", {u"--play"_s}, 1, u"unbf"_s},
            {"a switch once it has ended", {u"--play"_s, u"pure"_s}, 0, u"purebf"_s, true},
        };
        for (const Step& step : steps) {
            if (step.endsTheGameFirst)
                endGame();
            QFile::remove(game + u"/played.txt"_s);
            const ProgramRun play =
                ProgramRun::in(folder.path(), u"" GRIMTIDE_SWITCH_PROGRAM ""_s, step.arguments);
            QVERIFY2(play.status == step.status, step.name);
            const QString mode = step.baseGame == u"unbf" ? u"Grimtide"_s : u"Pure"_s;
            if (step.status == 0) {
                QCOMPARE(
                    play.out,
                    u"%1 mode: Battlefield 1942 starts under Wine, in the prefix %2/.wine.\n"_s.arg(
                        mode, home));
                // Back before the game has ended: it runs now.
                QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(game + u"/played.txt"_s), 60000);
                QCOMPARE(Checks::bytesOf(game + u"/played.txt"_s),
                         "folder: C:\\Program Files\\EA GAMES\\Battlefield 1942\n");
                QVERIFY(GameProcess::running().has_value());
            } else {
                QVERIFY2(QRegularExpression(u'^' + running + u'$').match(play.err).hasMatch(),
                         qPrintable(play.err));
            }
            QVERIFY2(Checks::installedModes(game).value(0) == step.baseGame, step.name);
            QCOMPARE(folder.storedRows().size(), 1);
            QCOMPARE(folder.storedRows().value(0).status, mode);
            QVERIFY(!QFile::exists(folder.databaseFile() + u"-journal"_s));
            QCOMPARE(Checks::bytesOf(folder.file(u"game-files.journal"_s)), QByteArray());
        }
    }
};

QTEST_MAIN(TestGameFiles)
#include "test_gamefiles.moc"
