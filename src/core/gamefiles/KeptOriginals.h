#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// The game's own versions of the files the program replaces, kept in the
// working folder, one folder per game under "kept-game-files", never in the
// game itself. A file is kept once, before the program first replaces it, and
// never overwritten; a file the game did not have is noted as such.
class KeptOriginals {
public:
    explicit KeptOriginals(const QString& workingFolder);

    // Keeps the file at destination, named `file` below the game's mods
    // folder, unless it is kept already. Call sync() before the game's file
    // is replaced.
    void keepBefore(const QString& modsFolder, const QString& file, const QString& destination);
    // Forces what keepBefore wrote to disk.
    void sync();

    struct Kept {
        QString file;                // below the mods folder, "bf1942/init.con"
        std::optional<QString> copy; // the game's own file; none when it had none
    };
    struct Game {
        QString modsFolder;
        QString keptIn;
        QList<Kept> files;
    };
    // Every game whose files are kept here.
    QList<Game> games() const;
    // A game's files are its own again: its kept folder goes.
    void forget(const Game& game);

    QString folder() const { return m_folder; }

private:
    QString gameFolder(const QString& modsFolder);
    static QString keptName(const QString& file);

    QString m_folder;
    QHash<QString, QString> m_gameFolders; // by mods folder, as seen in this run
    QSet<QString> m_known;                 // kept files already seen in this run
    QSet<QString> m_unsynced;
};
