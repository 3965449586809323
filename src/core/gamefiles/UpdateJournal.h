#pragma once

#include "core/gamefiles/GameFileCopy.h"
#include "core/platform/FileIdentity.h"

#include <QList>
#include <QString>

#include <optional>

// What an update of several game files is about to do, forced to disk
// before its first rename, so that a start after a kill can complete it or
// put every file back. The file stays in the working folder and is empty
// while no update is under way: keeping it saves creating it, and syncing its
// folder, for every switch. Being input like any other file, it is read only
// as a plain file (never through a link) naming only the program's own
// temporaries and backups beside the files it names; anything else is
// refused and moved aside for the player to see.
class UpdateJournal {
public:
    struct Entry {
        QString destination; // the game's file
        QString temporary;   // its new content, until renamed; empty to remove the file
        FileIdentity staged; // the new content's identity, which the destination has once renamed
        QString backup; // the file it replaces, kept under this name; empty when there was none
        // New contents put in place before the current one, in an update that
        // replaced the file again (a choice picked again).
        QList<FileIdentity> earlier = {};
    };
    struct Content {
        Deciding deciding;
        QList<Entry> entries;
    };

    explicit UpdateJournal(QString path) : m_path(std::move(path)) {}

    // Over an empty journal, in place.
    void write(const Content& content);
    // Over a journal that describes renames already made: whole or not at all.
    void replace(const Content& content);
    // Nothing when there is no update under way, or when the journal is not
    // one we wrote whole (cut short before its sync: no rename had begun).
    // A link, anything but a plain file, or an entry whose temporary or
    // backup is not ours is refused (see refuse()).
    std::optional<Content> read();
    // The update is over. Not synced: a journal that comes back after a power
    // cut describes an update that is found complete again.
    void clear();
    // Moves the journal aside, to its name with ".rejected", and throws the
    // refusal naming the place refused and why.
    [[noreturn]] void refuse(const QString& place, const QString& why);
    // An update left unfinished (by a kill, or by the game running when it
    // was to be undone) may be described: true until the first look, and
    // after leaveForLater(). The journal of an update open in this run is
    // that update's own.
    bool mayHoldUnfinished() const { return m_state == State::Unknown || m_state == State::Left; }
    // The open update leaves its files and journal to the next start or switch.
    void leaveForLater() { m_state = State::Left; }

    // Names beside a destination: its backup while an update runs.
    static QString newBackupName(const QString& destination);

private:
    static QByteArray bytesOf(const Content& content);
    static bool isSound(const Entry& entry);
    // A link, or anything but a plain file, at the path is refused; nothing is no harm.
    void refuseUnlessPlain(const QString& path);

    QString m_path;
    enum class State { Unknown, Empty, InUse, Left };
    State m_state = State::Unknown;
};
