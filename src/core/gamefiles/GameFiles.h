#pragma once

#include "core/gamefiles/GameFileWriter.h"
#include "core/gamefiles/GameUpdate.h"
#include "core/gamefiles/KeptOriginals.h"
#include "core/gamefiles/UpdateJournal.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The program's way into the game's files, for one working folder: checks,
// keeps the game's own files, updates all or nothing and puts the game's own
// files back. Its journal and kept files lie in the working folder.
class GameFiles : public GameFileWriter {
public:
    explicit GameFiles(const QString& workingFolder);

    GameUpdate stage(const QList<GameFileCopy>& copies, const Deciding& deciding) override;
    void stageInto(GameUpdate& update, const QList<GameFileCopy>& copies,
                   const Deciding& deciding) override;
    void finishInterrupted(const StoredValue& stored) override;

    Restoring restoreOriginals(const QString& modsPath, const Deciding& deciding) override;
    // The first words of every placeholder archive the program delivers.
    static QByteArray placeholderMarker() { return "Grimtide Switch placeholder archive:"; }

private:
    struct Planned {
        QString modsFolder;
        QString file;
        QString source;
        QString destination;
        NativeFileSystem::Status target;
        std::optional<QStringList> keptUnlessOneOf;
    };
    QList<Planned> plan(const QList<GameFileCopy>& copies) const;
    static void refusePlaceholders(const QList<Planned>& planned);
    static void refuseWhileTheGameRuns();
    // Nothing is done by a journal that names any other file than the five
    // of the game in the settings.
    void refuseForeignEntries(const QList<UpdateJournal::Entry>& entries,
                              const QString& installPath);
    // The dead temporaries of killed copies go from every game file's folder.
    void sweepGameFolders(const QList<Planned>& planned);
    // The copy's source, or the game's own file in its place (a Pure copy).
    QString sourceOf(const Planned& file);
    RestoredFile restoredFile(const QString& mods, const KeptOriginals::Kept& kept,
                              QList<GameUpdate::Step>& steps);
    // Checked, the game's own files kept: what the copies will do.
    QList<GameUpdate::Step> checkedSteps(const QList<GameFileCopy>& copies);
    GameUpdate update(const QList<GameUpdate::Step>& steps, const Deciding& deciding);
    void keepOriginals(const QList<Planned>& planned);

    UpdateJournal m_journal;
    KeptOriginals m_kept;
    LeftoverSweep m_sweep;
};
