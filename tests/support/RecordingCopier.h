#pragma once

#include "core/gamefiles/GameFiles.h"

#include <QDir>
#include <QStringList>

// The program's game files of the working folder, keeping a list of the
// sources of every install that went through.
class RecordingCopier : public GameFileWriter {
public:
    void install(const QList<GameFileCopy>& copies, const std::optional<DecidingSetting>& deciding,
                 const std::function<void()>& settle) override
    {
        files.install(copies, deciding, settle);
        for (const GameFileCopy& copy : copies)
            sources.append(copy.source);
    }
    void finishInterrupted(const StoredValue& stored) override { files.finishInterrupted(stored); }

    GameFiles files{QDir::currentPath()};
    QStringList sources;
};
