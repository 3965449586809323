#pragma once

#include "core/gamefiles/UpdateJournal.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

// One update of several game files, all or nothing. Every new file is staged
// (written beside its destination and forced to disk) before the first is
// renamed into place, and each file it replaces keeps a second name until
// the update is over, so that a failure, or the next start after a kill, can
// put every file back. With a journal, what it is about to do is on disk
// before the first rename; a single rename needs none, being whole by itself.
class GameFileUpdate {
public:
    struct Step {
        QString source;                    // empty: the destination is removed
        QString destination;               // both resolved, in their spelling on disk
        NativeFileSystem::Status replaced; // what the destination is now
    };

    GameFileUpdate(QList<Step> steps, UpdateJournal* journal, LeftoverSweep& sweep);

    // Every file in place and its folder synced; after a failure every file
    // is as it was and the failure goes on.
    void putInPlace(const std::optional<DecidingSetting>& deciding);
    // The settings agree with the files: the replaced ones and the journal go.
    void finish();
    // The settings could not follow: every file back as it was.
    void undo();

    // Whether an entry's new file (or its removal) is in place.
    static bool isDone(const UpdateJournal::Entry& entry);
    // Puts back every file the entries replaced or added, whichever of their
    // steps were done, and syncs their folders. Run again, it changes nothing.
    static void putBack(const QList<UpdateJournal::Entry>& entries);
    static void removeBackups(const QList<UpdateJournal::Entry>& entries);

private:
    void stage();
    void rename();
    static void syncFolders(const QList<UpdateJournal::Entry>& entries);

    QList<Step> m_steps;
    UpdateJournal* m_journal;
    LeftoverSweep& m_sweep;
    std::vector<std::optional<StagedFile>> m_staged;
    QList<UpdateJournal::Entry> m_entries;
};
