#pragma once

#include "core/gamefiles/GameFileCopy.h"

#include <QList>

#include <functional>
#include <optional>

// How the commands change the game's files: several at once, all or nothing.
class GameFileWriter {
public:
    virtual ~GameFileWriter() = default;

    // The stored value of a settings field, by its name.
    using StoredValue = std::function<QString(const QString& field)>;

    // Puts every copy in place, in order, or none: everything is checked
    // before the first write, and a failure on the way puts back every file
    // already replaced. Then `settle` runs (the settings brought into line
    // and saved); when it fails, the files go back too and its failure goes
    // on. Nothing is written while the game runs, and a placeholder archive
    // never replaces a real one.
    virtual void install(const QList<GameFileCopy>& copies,
                         const std::optional<DecidingSetting>& deciding,
                         const std::function<void()>& settle) = 0;
    // Completes or undoes an update that a kill cut short, as the stored
    // settings decide; nothing when none was.
    virtual void finishInterrupted(const StoredValue& stored) = 0;
};
