#pragma once

#include "core/play/PlayPlan.h"

#include <QString>

// Starts a plan's program detached, in its folder and with its environment
// over this program's own, and returns as soon as it runs: the game is never
// waited for, and nothing it prints reaches this program's terminal.
class GameStart {
public:
    struct Outcome {
        bool started = false;
        QString reason; // why not, naming the command or folder that is missing
        qint64 processId = 0;
    };
    static Outcome start(const PlayPlan& plan);
};
