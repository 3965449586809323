#pragma once

#include "core/gamefiles/GameFileUpdate.h"
#include "core/gamefiles/GameFileWriter.h"
#include "core/gamefiles/KeptOriginals.h"
#include "core/gamefiles/UpdateJournal.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QList>
#include <QString>

// The program's way into the game's files, for one working folder: checks,
// keeps the game's own files, updates all or nothing and puts the game's own
// files back. Its journal and kept files lie in the working folder.
class GameFiles : public GameFileWriter {
public:
    explicit GameFiles(const QString& workingFolder);

    void install(const QList<GameFileCopy>& copies, const std::optional<DecidingSetting>& deciding,
                 const std::function<void()>& settle) override;
    void finishInterrupted(const StoredValue& stored) override;

    enum class Restored { PutBack, Removed, AlreadyOwn, RealArchiveLeft };
    struct RestoredFile {
        QString file; // below the mods folder
        Restored how;
    };
    struct RestoredGame {
        QString modsFolder;
        QList<RestoredFile> files;
    };
    // Puts back, all or nothing, every file the program replaced since it
    // first wrote to each game, and removes those it added; then `settle`
    // runs (the settings saved as `deciding` says), and the kept files go.
    // Nothing when no file was kept.
    QList<RestoredGame> restoreOriginals(const DecidingSetting& deciding,
                                         const std::function<void()>& settle);

    // Fails with 76, naming the first folder missing, unless the folder
    // exists below the mods folder.
    static void requireFolder(const QString& modsPath, const QString& folder,
                              const QString& advice);
    // The first words of every placeholder archive the program delivers.
    static QByteArray placeholderMarker() { return "Grimtide Switch placeholder archive:"; }

private:
    struct Planned {
        QString modsFolder;
        QString file;
        QString source;
        QString destination;
        NativeFileSystem::Status target;
    };
    QList<Planned> plan(const QList<GameFileCopy>& copies) const;
    static void refusePlaceholders(const QList<Planned>& planned);
    static void refuseWhileTheGameRuns();
    void update(const QList<GameFileUpdate::Step>& steps,
                const std::optional<DecidingSetting>& deciding,
                const std::function<void()>& settle);
    void keepOriginals(const QList<Planned>& planned);

    UpdateJournal m_journal;
    KeptOriginals m_kept;
    LeftoverSweep m_sweep;
    bool m_journalClear = false; // known empty since this run's first look
};
