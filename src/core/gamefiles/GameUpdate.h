#pragma once

#include "core/gamefiles/UpdateJournal.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

// One update of game files, all or nothing, as an object: made, it has every
// new file in place, while each file it replaced keeps a second name;
// commit() drops those, and an update destroyed without its commit puts
// every file back. Every new file is staged (written beside its destination
// and forced to disk) before the first is renamed into place. With a journal,
// what it is about to do is on disk before each rename, so that the next
// start after a kill can complete it or put every file back; a single rename
// needs none, being whole by itself.
class GameUpdate {
public:
    struct Step {
        QString source;                    // empty: the destination is removed
        QString destination;               // both resolved, in their spelling on disk
        NativeFileSystem::Status replaced; // what the destination is now
    };

    // Nothing in place yet; without a journal, committing it changes nothing.
    GameUpdate() = default;
    // An update to put() files into one at a time, journaled.
    GameUpdate(UpdateJournal& journal, LeftoverSweep& sweep) : m_journal(&journal), m_sweep(&sweep)
    {
    }
    // Puts every file in place and syncs their folders; after a failure every
    // file is as it was and the failure goes on.
    GameUpdate(const QList<Step>& steps, UpdateJournal* journal, LeftoverSweep& sweep,
               const Deciding& deciding);
    GameUpdate(GameUpdate&& other) noexcept;
    GameUpdate& operator=(GameUpdate&& other) noexcept;
    GameUpdate(const GameUpdate&) = delete;
    GameUpdate& operator=(const GameUpdate&) = delete;
    // Without a commit, every file goes back as it was; while the game runs,
    // a journaled update is left to its journal.
    ~GameUpdate();

    bool isJournaled() const { return m_journal != nullptr; }
    // One more file in place within a journaled update. A destination it
    // replaced already is replaced again, and still goes back to the file it
    // held before the update. After a failure that file is as it was before
    // this call, and the update goes on.
    void put(const Step& step, const Deciding& deciding);

    // The files are the game's from now on: the replaced ones and the journal
    // go, then whatever was asked to follow the commit runs.
    void commit();
    void runAfterCommit(std::function<void()> follow) { m_afterCommit = std::move(follow); }

    // Whether an entry's new file (or its removal) is in place.
    static bool isDone(const UpdateJournal::Entry& entry);
    // Puts back every file the entries replaced or added, whichever of their
    // steps were done, and syncs their folders. Run again, it changes nothing.
    static void putBack(const QList<UpdateJournal::Entry>& entries);
    static void removeBackups(const QList<UpdateJournal::Entry>& entries);

private:
    UpdateJournal::Entry stage(const Step& step, std::optional<StagedFile>& staged);
    void renameIn(qsizetype index, std::optional<StagedFile>& staged);
    void undo();
    static void putBack(const UpdateJournal::Entry& entry);
    static void syncFolders(const QList<UpdateJournal::Entry>& entries);

    UpdateJournal* m_journal = nullptr;
    LeftoverSweep* m_sweep = nullptr;
    QList<UpdateJournal::Entry> m_entries;
    std::function<void()> m_afterCommit;
    bool m_open = false; // files in place, waiting for the commit
};
