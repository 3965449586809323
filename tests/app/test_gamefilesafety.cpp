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

// Beside the working folder, where no journal or kept set may reach: the
// player's files and another game with a file of its own.
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

QString identityText(const QString& path)
{
    const std::optional<FileIdentity> identity = NativeFileSystem::identity(path);
    return identity ? u"%1:%2"_s.arg(identity->device).arg(identity->inode) : u"0:0"_s;
}

// A journal of a switch into Grimtide mode that gtdb.inf never saw, which a
// start puts back: one entry, its new file in place where one is named.
QByteArray journalNaming(const QString& destination, const QString& temporary,
                         const QString& backup)
{
    return Checks::journalOf(
        u"{\"deciding\":[{\"field\":\"status\",\"value\":\"Grimtide\"}],\"entries\":[{\"backup\":"
        "\"%1\",\"destination\":\"%2\",\"earlier\":[],\"staged\":\"%3\",\"temporary\":\"%4\"}]}"_s
            .arg(backup, destination, identityText(destination), temporary)
            .toUtf8());
}

// The one set of kept files of the working folder.
QString keptSet()
{
    const QDir store(u"kept-game-files"_s);
    return store.absoluteFilePath(store.entryList(QDir::Dirs | QDir::NoDotAndDotDot).value(0));
}

QString failureSentence(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return FailureText::sentence(failure);
    }
    return {};
}

const QByteArray ownBaseGame = "the game's own bf1942, version 1.6";

} // namespace

class TestGameFileSafety : public QObject {
    Q_OBJECT
private slots:
    // Each journal holds a sound checksum and would, read as it once was,
    // remove or overwrite what it names. {game} is the game's mods folder,
    // {outside} a folder beside the working folder.
    void aCraftedJournalIsSetAsideAndChangesNothing_data()
    {
        QTest::addColumn<QString>("destination");
        QTest::addColumn<QString>("temporary");
        QTest::addColumn<QString>("backup");
        QTest::addColumn<QString>("atBackup"); // "file", "link" to {outside}/secret, or nothing
        QTest::addColumn<bool>("linkedJournal");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("why");
        QTest::addColumn<bool>("atStart"); // or else at --restore-game
        const QString foreign = u"not one of the five game files in {game}"_s;
        const QString link = u"a link, which the program never follows"_s;
        // A start and --restore-game finish a journal alike (Session::load);
        // the restore then tells the refusal before its own report.
        QTest::newRow("a file outside")
            << u"{outside}/victim"_s << u"{outside}/.grimtide-switch-t.part"_s << QString()
            << QString() << false << u"{outside}/victim"_s << foreign << true;
        const QString climbing = u"{game}/bf1942/../../../../{outsideName}/victim"_s;
        for (const bool atStart : {true, false}) {
            QTest::addRow("a way out by .., at a %s", atStart ? "start" : "--restore-game")
                << climbing << u"{game}/bf1942/../../../../{outsideName}/.grimtide-switch-u.part"_s
                << QString() << QString() << false << climbing
                << u"not an absolute path without \".\" or \"..\""_s << atStart;
        }
        QTest::newRow("another game's file")
            << u"{outside}/other/mods/bf1942/init.con"_s << QString()
            << u"{outside}/other/mods/bf1942/.grimtide-switch-q.old"_s << u"file"_s << false
            << u"{outside}/other/mods/bf1942/init.con"_s << foreign << true;
        QTest::newRow("a temporary not the program's")
            << u"{game}/bf1942/init.con"_s << u"{game}/bf1942/readme.txt"_s << QString()
            << QString() << false << u"{game}/bf1942/init.con"_s
            << u"its temporary or backup is not the program's own, beside it"_s << true;
        QTest::newRow("a backup that is a link")
            << u"{game}/bf1942/init.con"_s << QString() << u"{game}/bf1942/.grimtide-switch-l.old"_s
            << u"link"_s << false << u"{game}/bf1942/.grimtide-switch-l.old"_s << link << true;
        QTest::newRow("a journal that is a link")
            << u"{game}/bf1942/init.con"_s << QString() << u"{game}/bf1942/.grimtide-switch-k.old"_s
            << u"file"_s << true << u"{working}/game-files.journal"_s << link << true;
    }

    void aCraftedJournalIsSetAsideAndChangesNothing()
    {
        QFETCH(QString, destination);
        QFETCH(QString, temporary);
        QFETCH(QString, backup);
        QFETCH(QString, atBackup);
        QFETCH(bool, linkedJournal);
        QFETCH(QString, refused);
        QFETCH(QString, why);
        QFETCH(bool, atStart);
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
        if (atBackup == u"file")
            Checks::writeBytes(expand(backup), "planted text");
        else if (atBackup == u"link")
            QFile::link(outside.file(u"secret"_s), expand(backup));
        const QByteArray journal =
            journalNaming(expand(destination), expand(temporary), expand(backup));
        const QString journalFile = s.folder.file(u"game-files.journal"_s);
        if (linkedJournal) {
            Checks::writeBytes(outside.file(u"journal"_s), journal);
            QFile::link(outside.file(u"journal"_s), journalFile);
        } else {
            Checks::writeBytes(journalFile, journal);
        }
        const auto outsideBefore = outside.files();
        const auto gameBefore = Checks::filesIn(s.folder.game());
        const auto journalIdentity = NativeFileSystem::identity(journalFile);
        const QString told = u"The record of an interrupted update was refused and moved aside to "
                             "game-files.journal.rejected; nothing was done by it.\n"_s
                             + Checks::sentence(4004, expand(refused), expand(why));
        if (atStart) {
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
        const QString link = u"a link, which the program never follows"_s;
        QTest::newRow("a kept file that is a link") << u"link"_s << kept << link << true;
        QTest::newRow("a truncated kept file")
            << u"truncated"_s << kept << u"not the size it was kept with"_s << true;
        QTest::newRow("a missing kept file") << u"missing"_s << kept << u"missing"_s << true;
        QTest::newRow("an edited game folder")
            << u"game folder"_s << manifest
            << u"it names a game folder other than the one the set was kept for"_s << true;
        QTest::newRow("a record not the program's")
            << u"record"_s << manifest << u"not a record this program wrote"_s << true;
        // A Pure switch checks a kept file as a restore does, and its set
        // where it finds it (KeptOriginals::ownCopy, setFor).
        for (const bool restore : {true, false}) {
            const char* way = restore ? "restore" : "Pure switch";
            QTest::addRow("an edited kept file, at a %s", way)
                << u"edited"_s << kept << u"not the content it was kept with"_s << restore;
            QTest::addRow("a linked set, at a %s", way)
                << u"linked set"_s << u"{set}"_s << link << restore;
        }
    }

    void aTamperedKeptSetIsRefused()
    {
        QFETCH(QString, tamper);
        QFETCH(QString, refused);
        QFETCH(QString, why);
        QFETCH(bool, restore);
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        Outside outside;
        Checks::writeBytes(folder.file(u"game/mods/bf1942/init.con"_s), ownBaseGame);
        StartedSession program;
        program.session.switchTo(GameMode::Grimtide);
        const QString set = keptSet();
        const QString kept = set + u"/bf1942-init.con"_s;
        if (tamper == u"link") {
            QFile::remove(kept);
            QFile::link(outside.file(u"secret"_s), kept);
        } else if (tamper == u"truncated") {
            Checks::writeBytes(kept, ownBaseGame.first(8));
        } else if (tamper == u"edited") {
            Checks::writeBytes(kept, QByteArray(ownBaseGame).replace("1.6", "9.9"));
        } else if (tamper == u"missing") {
            QFile::remove(kept);
        } else if (tamper == u"game folder") {
            QJsonObject record =
                QJsonDocument::fromJson(Checks::bytesOf(set + u"/manifest"_s)).object();
            record[u"game-folder"_s] = outside.file(u"other/mods"_s);
            Checks::writeBytes(set + u"/manifest"_s, QJsonDocument(record).toJson());
        } else if (tamper == u"record") {
            Checks::writeBytes(set + u"/manifest"_s, "a note of the player's");
        } else {
            QDir().rename(set, outside.file(u"set"_s));
            QFile::link(outside.file(u"set"_s), set);
        }
        const auto gameBefore = Checks::filesIn(folder.game());
        const auto keptBefore = Checks::filesIn(folder.file(u"kept-game-files"_s));
        const auto outsideBefore = outside.files();
        const QString sentence = failureSentence([&] {
            if (restore)
                program.session.restoreGame();
            else
                program.session.switchTo(GameMode::Pure);
        });
        QCOMPARE(sentence, Checks::sentence(4005, QString(refused).replace(u"{set}"_s, set), why));
        QCOMPARE(Checks::filesIn(folder.game()), gameBefore);
        QCOMPARE(Checks::filesIn(folder.file(u"kept-game-files"_s)), keptBefore);
        QCOMPARE(outside.files(), outsideBefore);
        QCOMPARE(folder.storedRows().value(0).status, u"Grimtide"_s);
    }

    // The player updated the mod and patched the game after the program
    // first wrote there: a restore leaves both, and a later switch keeps
    // them as the game's own, which the restore then puts back.
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
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        const QString initCon = folder.file(u"game/mods/bf1942/init.con"_s);
        const QString menu = folder.file(u"game/mods/gtide_base/archives/menu.rfa"_s);
        Checks::writeBytes(initCon, ownBaseGame);
        Checks::writeBytes(menu, "the mod's menu, v1");
        Checks::writeBytes(folder.file(u"cons/cr/3/menu.rfa"_s), "real crosshair 3");
        StartedSession program;
        Session& session = program.session;
        session.switchTo(GameMode::Grimtide);
        session.switchTo(GameMode::Pure);
        session.pick(Catalogue::Kind::Crosshair, 3);
        session.keepPicks();
        Checks::writeBytes(menu, "the mod's menu, v2");
        Checks::writeBytes(initCon, "the game's own bf1942, patched to 1.61");
        if (switchFirst) {
            session.switchTo(GameMode::Grimtide);
            session.switchTo(GameMode::Pure);
            QCOMPARE(Checks::bytesOf(initCon), "the game's own bf1942, patched to 1.61");
            session.pick(Catalogue::Kind::Crosshair, 3);
            session.keepPicks();
            QCOMPARE(Checks::bytesOf(menu), "real crosshair 3");
        }
        const GameFileWriter::RestoreReport report = session.restoreGame();
        QCOMPARE(report.files.size(), 2);
        QCOMPARE(report.files[0].file, u"bf1942/init.con"_s);
        QCOMPARE(int(report.files[0].how), baseGame);
        QCOMPARE(report.files[1].file, u"gtide_base/archives/menu.rfa"_s);
        QCOMPARE(int(report.files[1].how), archive);
        QCOMPARE(Checks::bytesOf(initCon), "the game's own bf1942, patched to 1.61");
        QCOMPARE(Checks::bytesOf(menu), "the mod's menu, v2");
    }

    // The game moved after the program wrote to it: its old set names a
    // folder that is gone, which is told and left, and the game gtdb.inf
    // now names is restored.
    void aMovedGamesSetIsLeftAndTheNamedGameRestored()
    {
        TestFolder folder;
        folder.writeSettings(folder.gameRow());
        Checks::writeBytes(folder.file(u"game/mods/bf1942/init.con"_s), ownBaseGame);
        const QString oldMods = QFileInfo(folder.file(u"game/mods"_s)).canonicalFilePath();
        const QString moved = folder.file(u"moved"_s);
        QString oldSet;
        {
            StartedSession program;
            program.session.switchTo(GameMode::Grimtide);
            program.session.switchTo(GameMode::Pure);
            oldSet = keptSet();
            QVERIFY(QDir().rename(folder.game(), moved));
            program.session.setInstallPath(moved, false);
            program.session.switchTo(GameMode::Grimtide);
        }
        const auto oldSetFiles = Checks::filesIn(oldSet);
        const GameRestore::Outcome outcome = GameRestore::run(folder.path());
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

    void aSwitchSweepsDeadTemporariesFromEveryGameFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("Road to Rome's, not switched") << u"xpack1"_s;
        QTest::newRow("the reticle archive's") << u"gtide_base/archives/bf1942"_s;
    }

    void aSwitchSweepsDeadTemporariesFromEveryGameFolder()
    {
        QFETCH(QString, folder);
        TestFolder working;
        working.writeSettings(working.gameRow());
        const QString inGame = working.file(u"game/mods/"_s + folder);
        Checks::writeBytes(inGame + u"/.grimtide-switch-dead.part"_s, "half an archive");
        StartedSession program;
        program.session.switchTo(GameMode::Grimtide);
        QCOMPARE(Checks::copierTemporariesIn(inGame), QStringList());
    }
};

QTEST_MAIN(TestGameFileSafety)
#include "test_gamefilesafety.moc"
