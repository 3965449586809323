#pragma once

#include "core/gamefiles/GameFiles.h"

#include <QDir>
#include <QStringList>

// The program's game files of the working folder, keeping a list of the
// sources of every update that went in.
class RecordingCopier : public GameFileWriter {
public:
    GameUpdate stage(const QList<GameFileCopy>& copies, const Deciding& deciding) override
    {
        GameUpdate update = files.stage(copies, deciding);
        record(copies);
        return update;
    }
    void stageInto(GameUpdate& update, const QList<GameFileCopy>& copies,
                   const Deciding& deciding) override
    {
        files.stageInto(update, copies, deciding);
        record(copies);
    }
    void finishInterrupted(const StoredValue& stored) override { files.finishInterrupted(stored); }
    Restoring restoreOriginals(const QString& modsPath, const Deciding& deciding) override
    {
        return files.restoreOriginals(modsPath, deciding);
    }

    GameFiles files{QDir::currentPath()};
    QStringList sources;

private:
    void record(const QList<GameFileCopy>& copies)
    {
        for (const GameFileCopy& copy : copies)
            sources.append(copy.source);
    }
};
