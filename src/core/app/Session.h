#pragma once

#include "core/common/Failure.h"
#include "core/crosshair/Catalogue.h"
#include "core/gamefiles/GameFileWriter.h"
#include "core/mode/ModeFiles.h"
#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsStore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The player's choices for one working folder: the settings record, the
// settings file it is loaded from and saved to, and the game files that
// follow it. The record changes only through the commands below. Each is all
// or nothing: it checks, puts the game's files in place, saves the record
// and only then keeps both and tells its watchers with recordChanged(); when
// any step fails, the files, the record and the settings file stay as they
// were and the Failure goes to the caller, whose report names it.
class Session : public QObject {
    Q_OBJECT
public:
    Session(GameFileWriter& gameFiles, QString settingsFile);

    const SettingsRecord& record() const { return m_record; }
    // The install directory followed by "mods" and a separator; derived from
    // the record's path at the load and by setInstallPath() alone.
    const QString& modsPath() const { return m_modsPath; }

    // Opens the settings file and reads its first row. Every pack value but
    // "no" reads as "yes". True when a field held no value (a first start):
    // it reads as the empty text. A file that does not load is never written
    // over with values it never gave: every later save fails with the load's
    // failure. Before anything else, a game update that a kill cut short is
    // completed or undone, as the row decides.
    bool load();
    // What the load found of an update a kill cut short and could not finish
    // for the player to hear of: its record refused and set aside, or the
    // game running (the update waits for its end).
    const std::optional<Failure>& interruptedUpdateNotice() const { return m_updateNotice; }
    // A start in Secure Mode puts the pinned pair in place again; the record
    // already says so, and nothing is saved.
    void reinstallSecureArchives();

    // The mode's files in place, and "status" saved. A game already in the
    // mode (or in neither) changes no file and is saved as it is. True when
    // the game's files changed.
    bool switchTo(GameMode mode);
    // RTR or SW installed, saved; no game file changes until the next switch.
    void setPack(ExpansionPack pack, bool installed);
    // A choice's archive in place at once, one of the chooser's picks: the
    // record changes only when they are kept, and the archives go back when
    // they are dropped (or the program ends with them open).
    void pick(Catalogue::Kind kind, int choice);
    // The archives the game held before the first pick, back in place.
    void dropPicks();
    // Both choices and the picks kept, and saved; when the save fails, the
    // picks are dropped.
    void keepChoices(int crosshair, int reticle);
    // The picks kept as they are, each in its choice (Secure Mode's chooser
    // reads no list), and saved; when the save fails, they are dropped.
    void keepPicks();
    // Secure Mode on (the pinned pair in place) or off (the player's own
    // choices in place again), saved.
    void setSecure(bool on);
    // A new install directory, saved; on a first start RTR and SW follow the
    // folders the chosen game has.
    void setInstallPath(const QString& path, bool packsFollowTheGame);
    // The game's own files back in the game of the install directory (see
    // GameFileWriter::restoreOriginals), and "status" "Pure" and "secure" "No"
    // saved: the next start installs nothing. Nothing, and nothing saved,
    // when no file of that game was kept.
    GameFileWriter::RestoreReport restoreGame();
    // Writes the whole record as the table's one row.
    void msaveset();

    // How long saves wait for another program's lock from now on.
    void setLockWait(int milliseconds);

signals:
    void recordChanged();

private:
    using Edit = std::function<void(SettingsRecord&)>;
    // Saves the edited record, then keeps it and the files; an update not
    // kept puts its files back as it goes.
    void keep(GameUpdate& files, const Edit& edit);
    GameUpdate stage(const QList<GameFileCopy>& copies, const Deciding& deciding);
    void keepPicksAs(const Edit& edit);
    // Completes or undoes an update a kill cut short, as the record decides.
    void finishInterrupted();
    GameUpdate stageArchives(const QString& crosshair, const QString& reticle,
                             const QString& secure);
    void save(const SettingsRecord& record);
    SettingsStore& store();
    [[noreturn]] void failWithSettingsFile(const Failure& failure) const;

    GameFileWriter& m_gameFiles;
    QString m_settingsFile;
    std::optional<SettingsStore> m_store;
    int m_lockWaitMs = SqliteConnection::defaultLockWaitMs;
    SettingsRecord m_record;
    QString m_modsPath;
    GameUpdate m_picks;
    Deciding m_picked; // the choices picked, as the fields the record will hold
    std::optional<Failure> m_saveRefusal;
    std::optional<Failure> m_updateNotice;
};
