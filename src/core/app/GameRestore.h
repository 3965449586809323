#pragma once

#include <QString>

// "--restore-game": the game's own files back, in every game the program
// wrote to from this working folder, exactly as they were before it first
// replaced one; and "Pure" as the stored status, for the game is its own again.
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
