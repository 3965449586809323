#pragma once

#include "core/gamefiles/GameFileCopy.h"
#include "core/gamefiles/GameUpdate.h"

#include <QList>

#include <functional>
#include <optional>

// How the commands change the game's files: several at once, all or nothing.
class GameFileWriter {
public:
    virtual ~GameFileWriter() = default;

    // The stored value of a settings field, by its name.
    using StoredValue = std::function<QString(const QString& field)>;

    // Puts every copy in place, in order, or none: everything is checked
    // before the first write, and a failure on the way puts back every file
    // already replaced. The files stay the game's only once the update is
    // committed (after the settings are saved); dropped uncommitted, it puts
    // every file back. Nothing is written while the game runs, and a
    // placeholder archive never replaces a real one.
    virtual GameUpdate stage(const QList<GameFileCopy>& copies, const Deciding& deciding) = 0;
    // The same, one copy after the other, into an update still open (the
    // chooser's picks): a file it replaced already goes back, when the update
    // is dropped, to what it held before the update's first copy. A refused
    // copy leaves the update as it was.
    virtual void stageInto(GameUpdate& update, const QList<GameFileCopy>& copies,
                           const Deciding& deciding) = 0;
    // Completes or undoes an update that a kill cut short, as the stored
    // settings decide; nothing when none was. Its journal may name only the
    // five game files of the game in the stored "path"; one that names
    // anything else is moved aside, untouched, and refused. While the game
    // runs the journal stays, for the next start or switch after it.
    virtual void finishInterrupted(const StoredValue& stored) = 0;

    enum class Restored { PutBack, Removed, AlreadyOwn, RealArchiveLeft, ChangedSince };
    struct RestoredFile {
        QString file; // below the mods folder
        Restored how;
    };
    // A set of kept files for another game, or for a game folder that no
    // longer exists: left for the player.
    struct LeftSet {
        QString modsFolder; // as its record names it; empty when it has none
        QString keptIn;
        bool gameGone;
    };
    struct RestoreReport {
        QString modsFolder; // empty: nothing was kept for the game
        QList<RestoredFile> files;
        QList<LeftSet> left;
    };
    struct Restoring {
        GameUpdate update;
        RestoreReport report;
    };
    // Puts back, all or nothing, every file the program replaced in the game
    // below modsPath since it first wrote there, where the game still holds
    // what the program wrote, and removes those it added; once the update is
    // committed (the settings saved as `deciding` says), the kept files go.
    // Every kept set is checked first: one not as the program left it
    // refuses the whole restore.
    virtual Restoring restoreOriginals(const QString& modsPath, const Deciding& deciding) = 0;
};
