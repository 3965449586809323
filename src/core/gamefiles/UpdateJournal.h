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
// folder, for every switch.
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
    std::optional<Content> read() const;
    // The update is over. Not synced: a journal that comes back after a power
    // cut describes an update that is found complete again.
    void clear();

    // Names beside a destination: its backup while an update runs.
    static QString newBackupName(const QString& destination);

private:
    static QByteArray bytesOf(const Content& content);
    static bool isSound(const Entry& entry);

    QString m_path;
};
