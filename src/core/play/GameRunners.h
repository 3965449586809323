#pragma once

#include "core/play/PlayPlan.h"
#include "core/play/Runner.h"

#include <QString>

#include <memory>

// Which runner starts the game, from where it lies: the Wine prefix its
// folder is in (the folder above drive_c), and the launcher whose record
// names that prefix (WinePrefixes reads them). A Lutris game is taken only
// where its record starts this folder's BF1942.exe; Bottles, Heroic and
// Steam, which keep a prefix a game, by the prefix. A prefix no launcher
// names is a plain Wine prefix.
class GameRunners {
public:
    // The game's folder is the settings row's install path (a native path);
    // home is the player's, where the launchers keep their records.
    static std::unique_ptr<Runner> forGame(const QString& gameFolder, const QString& home);

    // What --play would run: the player's own command, from play.conf in
    // the working folder, where that file is; else the runner's. A refused
    // plan of the runner's says how to set a command.
    static PlayPlan planFor(const QString& gameFolder, const QString& home,
                            const QString& workingFolder);
};
