#pragma once

#include "core/gamefiles/GameFiles.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

// The working folder's game files, keeping a list of the sources of every update that went in.
class RecordingCopier : public GameFiles {
public:
    RecordingCopier() : GameFiles(QDir::currentPath()) {}
    GameUpdate stage(const QList<GameFileCopy>& copies, const Deciding& deciding) override
    {
        GameUpdate update = GameFiles::stage(copies, deciding);
        record(copies);
        return update;
    }
    void stageInto(GameUpdate& update, const QList<GameFileCopy>& copies,
                   const Deciding& deciding) override
    {
        GameFiles::stageInto(update, copies, deciding);
        record(copies);
    }
    void record(const QList<GameFileCopy>& copies)
    {
        std::ranges::transform(copies, std::back_inserter(sources), &GameFileCopy::source);
    }

    QStringList sources;
};
