#include "core/app/GameRestore.h"
#include "core/app/Session.h"
#include "core/common/FailureText.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFiles.h"
#include "core/platform/NativeFileSystem.h"
#include "support/Checks.h"
#include "support/StartedSession.h"
#include "support/TestFolder.h"
#include "support/TestProgram.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Restored = GameFileWriter::Restored;

namespace {

const QByteArray ownBaseGame = "the game's own bf1942, version 1.6";
const QString aLink = u"a link, which the program never follows"_s;

// Beside the working folder, out of any journal's or kept set's reach.
struct Outside {
    QTemporaryDir dir;
    Outside()
    {
        Checks::writeBytes(file(u"victim"_s), "a file of the player's");
        Checks::writeBytes(file(u"secret"_s), "a secret of the player's");
        Checks::writeBytes(file(u"other/mods/bf1942/init.con"_s), "another game's own bf1942");
    }
    QString file(const QString& name) const { return dir.filePath(name); }
    QMap<QString, QByteArray> files() const { return Checks::filesIn(dir.path()); }
};

// The working folder's game, its own bf1942 init.con in place, named by gtdb.inf.
struct OwnGame : TestFolder {
    OwnGame()
    {
        writeSettings(gameRow());
        Checks::writeBytes(initCon(), ownBaseGame);
    }
    QString initCon() const { return file(u"game/mods/bf1942/init.con"_s); }
};

// A journal with a sound checksum of a switch into Grimtide mode that gtdb.inf never saw.
struct Journal {
    QString destination, temporary, backup;
    QString plant; // at the backup: a "file", a "link", or a file and a "linked journal"
    QString refused, why;
    bool atStart = true; // or else at --restore-game
};

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

} // namespace

Q_DECLARE_METATYPE(Journal)

class TestGameFileSafety : public QObject {
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
        // A start and --restore-game finish a journal alike (Session::load).
        const QString climbing = u"{game}/bf1942/../../../../{outsideName}/"_s;
        for (const bool atStart : {true, false})
            QTest::addRow("a way out by .., at a %s", atStart ? "start" : "--restore-game")
                << Journal{climbing + u"victim"_s, climbing + part, none,   none,
                           climbing + u"victim"_s, notAbsolute,     atStart};
        QTest::newRow("another game's file")
            << Journal{other, none, otherBackup, u"file"_s, other, foreign};
        QTest::newRow("a temporary not the program's")
            << Journal{init, readme, none, none, init, notOwn};
        QTest::newRow("a backup that is a link")
            << Journal{init, none, backup, u"link"_s, backup, aLink};
        QTest::newRow("a journal that is a link") << Journal{
            init, none, backup, u"linked journal"_s, u"{working}/game-files.journal"_s, aLink};
    }

    void aCraftedJournalIsSetAsideAndChangesNothing()
    {
        QFETCH(Journal, journal);
        TestProgram s({}, TestProgram::Start::Later);
        Outside outside;
        Checks::writeBytes(s.mods(u"bf1942/init.con"_s), ownBaseGame);
        Checks::writeBytes(s.mods(u"bf1942/readme.txt"_s), "the game's readme");
        const auto expand = [&](QString text) {
            return text.replace(u"{game}"_s, s.folder.game() + u"/mods"_s)
                .replace(u"{outsideName}"_s, QFileInfo(outside.dir.path()).fileName())
                .replace(u"{outside}"_s, outside.dir.path())
                .replace(u"{working}"_s, s.folder.path());
        };
        if (journal.plant == u"link")
            QFile::link(outside.file(u"secret"_s), expand(journal.backup));
        else if (!journal.plant.isEmpty())
            Checks::writeBytes(expand(journal.backup), "planted text");
        const QString journalFile = s.folder.file(u"game-files.journal"_s);
        const bool linked = journal.plant == u"linked journal";
        Checks::writeBytes(linked ? outside.file(u"journal"_s) : journalFile,
                           journalNaming(expand(journal.destination), expand(journal.temporary),
                                         expand(journal.backup)));
        if (linked)
            QFile::link(outside.file(u"journal"_s), journalFile);
        const auto outsideBefore = outside.files();
        const auto gameBefore = Checks::filesIn(s.folder.game());
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
            QCOMPARE(outcome.text,
                     told
                         + u"\nNothing to restore: no game file has been replaced in the game "
                           "gtdb.inf names since its own were last put back.\n"_s);
        }
        QCOMPARE(outside.files(), outsideBefore);
        QCOMPARE(Checks::filesIn(s.folder.game()), gameBefore);
        QCOMPARE(NativeFileSystem::entryKind(journalFile), NativeFileSystem::Kind::None);
        QVERIFY(NativeFileSystem::identity(journalFile + u".rejected"_s) == journalIdentity);
    }

    // A restore or a Pure switch so refused writes and removes nothing.
    void aTamperedKeptSetIsRefused_data()
    {
        QTest::addColumn<QString>("tamper");
        QTest::addColumn<QString>("refused"); // {set}: the game's set of kept files
        QTest::addColumn<QString>("why");
        QTest::addColumn<bool>("restore"); // or else a Pure switch
        const QString kept = u"{set}/bf1942-init.con"_s, manifest = u"{set}/manifest"_s;
        QTest::newRow("a kept file that is a link") << u"link"_s << kept << aLink << true;
        QTest::newRow("a truncated kept file")
            << u"truncated"_s << kept << u"not the size it was kept with"_s << true;
        QTest::newRow("a missing kept file") << u"missing"_s << kept << u"missing"_s << true;
        QTest::newRow("an edited game folder")
            << u"game folder"_s << manifest
            << u"it names a game folder other than the one the set was kept for"_s << true;
        QTest::newRow("a record not the program's")
            << u"record"_s << manifest << u"not a record this program wrote"_s << true;
        // A Pure switch checks a kept file, and finds its set, as a restore does.
        for (const bool restore : {true, false}) {
            const char* way = restore ? "restore" : "Pure switch";
            QTest::addRow("an edited kept file, at a %s", way)
                << u"edited"_s << kept << u"not the content it was kept with"_s << restore;
            QTest::addRow("a linked set, at a %s", way)
                << u"linked set"_s << u"{set}"_s << aLink << restore;
        }
    }

    void aTamperedKeptSetIsRefused()
    {
        QFETCH(QString, tamper);
        QFETCH(QString, refused);
        QFETCH(QString, why);
        QFETCH(bool, restore);
        OwnGame game;
        Outside outside;
        StartedSession program;
        program.session.switchTo(GameMode::Grimtide);
        const QString set = keptSet(), kept = set + u"/bf1942-init.con"_s;
        const QString manifest = set + u"/manifest"_s;
        if (tamper == u"link" || tamper == u"missing")
            QFile::remove(kept);
        if (tamper == u"link")
            QFile::link(outside.file(u"secret"_s), kept);
        else if (tamper == u"truncated")
            Checks::writeBytes(kept, ownBaseGame.first(8));
        else if (tamper == u"edited")
            Checks::writeBytes(kept, QByteArray(ownBaseGame).replace("1.6", "9.9"));
        else if (tamper == u"record")
            Checks::writeBytes(manifest, "a note of the player's");
        else if (tamper == u"linked set")
            QDir().rename(set, outside.file(u"set"_s)), QFile::link(outside.file(u"set"_s), set);
        if (tamper == u"game folder") {
            QJsonObject record = QJsonDocument::fromJson(Checks::bytesOf(manifest)).object();
            record[u"game-folder"_s] = outside.file(u"other/mods"_s);
            Checks::writeBytes(manifest, QJsonDocument(record).toJson());
        }
        const auto gameBefore = Checks::filesIn(game.game());
        const auto keptBefore = Checks::filesIn(game.file(u"kept-game-files"_s));
        const auto outsideBefore = outside.files();
        QString sentence;
        try {
            restore ? void(program.session.restoreGame())
                    : void(program.session.switchTo(GameMode::Pure));
        } catch (const Failure& failure) {
            sentence = FailureText::sentence(failure);
        }
        QCOMPARE(sentence, Checks::sentence(4005, refused.replace(u"{set}"_s, set), why));
        QCOMPARE(Checks::filesIn(game.game()), gameBefore);
        QCOMPARE(Checks::filesIn(game.file(u"kept-game-files"_s)), keptBefore);
        QCOMPARE(outside.files(), outsideBefore);
        QCOMPARE(game.storedRows().value(0).status, u"Grimtide"_s);
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
        const QStringList deadIn{game.file(u"game/mods/xpack1"_s),
                                 game.file(u"game/mods/gtide_base/archives/bf1942"_s)};
        for (const QString& folder : deadIn)
            Checks::writeBytes(folder + u"/.grimtide-switch-dead.part"_s, "half an archive");
        const QString menu = game.file(u"game/mods/gtide_base/archives/menu.rfa"_s);
        Checks::writeBytes(menu, "the mod's menu, v1");
        Checks::writeBytes(game.file(u"cons/cr/3/menu.rfa"_s), "real crosshair 3");
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
        Checks::writeBytes(game.initCon(), "the game's own bf1942, patched to 1.61");
        if (switchFirst) {
            switchAndPick();
            QCOMPARE(Checks::bytesOf(menu), "real crosshair 3");
        }
        const GameFileWriter::RestoreReport report = session.restoreGame();
        QCOMPARE(report.files.size(), 2);
        QCOMPARE(report.files[0].file, u"bf1942/init.con"_s);
        QCOMPARE(int(report.files[0].how), baseGame);
        QCOMPARE(report.files[1].file, u"gtide_base/archives/menu.rfa"_s);
        QCOMPARE(int(report.files[1].how), archive);
        QCOMPARE(Checks::bytesOf(game.initCon()), "the game's own bf1942, patched to 1.61");
        QCOMPARE(Checks::bytesOf(menu), "the mod's menu, v2");
    }

    // The old set names a folder that is gone: it is told and left.
    void aMovedGamesSetIsLeftAndTheNamedGameRestored()
    {
        OwnGame game;
        const QString oldMods = QFileInfo(game.file(u"game/mods"_s)).canonicalFilePath();
        const QString moved = game.file(u"moved"_s);
        QString oldSet;
        {
            StartedSession program;
            program.session.switchTo(GameMode::Grimtide);
            program.session.switchTo(GameMode::Pure);
            oldSet = keptSet();
            QVERIFY(QDir().rename(game.game(), moved));
            program.session.setInstallPath(moved, false);
            program.session.switchTo(GameMode::Grimtide);
        }
        const auto oldSetFiles = Checks::filesIn(oldSet);
        const GameRestore::Outcome outcome = GameRestore::run(game.path());
        QCOMPARE(outcome.exitStatus, 0);
        QCOMPARE(
            outcome.text,
            u"The game's own files in %1/mods:\n"
            "  bf1942/init.con: put back\n"
            "Left for you: %2 holds the game's own files of %3, a folder that no longer "
            "exists.\n"
            "gtdb.inf: the status is Pure and Secure Mode is off.\n"_s.arg(moved, oldSet, oldMods));
        QCOMPARE(Checks::bytesOf(moved + u"/mods/bf1942/init.con"_s), ownBaseGame);
        QCOMPARE(Checks::filesIn(oldSet), oldSetFiles);
    }
};

QTEST_MAIN(TestGameFileSafety)
#include "test_gamefilesafety.moc"
