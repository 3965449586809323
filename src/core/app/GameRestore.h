#pragma once

#include <QString>

// "--restore-game": the game's own files back in the game gtdb.inf names, as
// they were before the program first replaced them (or as the player last
// updated them), wherever the game still holds what the program wrote; and
// "Pure" with Secure Mode off as the stored settings, for the game is its own
// again. Kept files of other games are named and left. Its text says, per
// file, what became of it.
class GameRestore {
public:
    static constexpr int failed = 1;
    static constexpr int refused = 2; // the program runs in this folder

    struct Outcome {
        int exitStatus;
        // For standard output when it succeeded, for standard error else,
        // where the caller names the program in front of it.
        QString text;
    };
    static Outcome run(const QString& workingFolder);
};
