#pragma once

#include "core/gamefiles/FileDigest.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>

#include <optional>

// The game's own versions of the files the program replaces, kept in the
// working folder, one set per game under "kept-game-files", never in the
// game itself. A file is kept before the program first replaces it, and kept
// again when the game holds neither that nor anything the program wrote
// there: the player updated the mod or the game, and that is the game's own
// from then on. Each set has a record, "manifest": the game folder its name
// comes from, each kept file's size and SHA-256 (or that the game had none)
// and the SHA-256 of everything the program wrote to each file. Read as
// input: a kept file is used only as a plain file with its recorded size and
// hash, and nothing outside a set's own names is ever removed.
class KeptOriginals {
public:
    explicit KeptOriginals(const QString& workingFolder);

    // Keeps the file at destination, named `file` below the game's resolved
    // mods folder, as said above. Call sync() before it is replaced.
    void keepBefore(const QString& modsFolder, const QString& file, const QString& destination);
    // The game's own file as kept, checked; nothing when the game had none.
    std::optional<QString> ownCopy(const QString& modsFolder, const QString& file);
    // The source's content is about to be written to the file.
    void noteWriting(const QString& modsFolder, const QString& file, const QString& source);
    // Forces what the three above wrote to disk: kept files, then records.
    // Each set is checked and its record read afresh after a sync() or a
    // drop(), so that whatever changed in between is seen.
    void sync();
    // Forgets what the three above did since the last sync(), which failed.
    void drop();

    struct Kept {
        QString file;                // below the mods folder, "bf1942/init.con"
        std::optional<QString> copy; // the game's own file; none when it had none
        std::optional<FileDigest> digest;
        QList<QByteArray> written; // what the program wrote there, each as its SHA-256
    };
    struct Game {
        QString modsFolder;
        QString keptIn;
        QList<Kept> files;
    };
    struct Other {
        QString modsFolder; // as its record names it; empty when it has none
        QString keptIn;
    };
    struct Survey {
        std::optional<Game> game; // the one asked for, every kept file checked
        QList<Other> others;
    };
    // Every set, the game's below the resolved mods folder (empty: none)
    // apart; anything not as the program left it refuses the whole survey.
    Survey survey(const QString& modsFolder) const;
    // A game's files are its own again: its set goes.
    void forget(const Game& game);

private:
    struct Entry {
        std::optional<FileDigest> kept; // none: the game had none
        QList<QByteArray> written;
    };
    struct Record {
        QString gameFolder;
        QMap<QString, Entry> files;
    };
    // The set of the game below a resolved mods folder, made where missing,
    // with its record as read at its first use in this run.
    QString setFor(const QString& modsFolder);
    Record& recordOf(const QString& set);
    static std::optional<Record> readRecord(const QString& set);
    static void writeRecord(const QString& set, const Record& record);
    static QString setName(const QString& gameFolder);
    static QString canonicalGameFolder(const QString& modsFolder);
    static QString keptPath(const QString& set, const QString& file);
    static QString checkedCopy(const QString& set, const QString& file, const FileDigest& digest);
    // A folder of ours, made where missing; a link or a file is refused.
    void makeOwnFolder(const QString& path);

    QString m_folder;
    QHash<QString, QString> m_sets;   // by mods folder, since the last sync
    QHash<QString, Record> m_records; // by set, since the last sync
    QSet<QString> m_changed;          // sets whose record is to be written
    QSet<QString> m_unsynced;         // folders with renames not yet on disk
};
