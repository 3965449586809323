#pragma once

#include "Samples.h"

#include <functional>

// Our figures beside the floor's, taken by turns in one run so that a busy
// moment of the shared machine falls on both alike.
class Comparison {
public:
    using Work = std::function<void()>;

    Samples ours;
    Samples floor;
    double ratio() const { return ours.median() / floor.median(); }

    // Runs the two `rounds` times by turns, or as many times as
    // GRIMTIDE_BENCH_ROUNDS says when it is set (a short trial run); the one
    // that goes first changes every round.
    static void alternate(int rounds, const Work& oursRun, const Work& floorRun);
    // After one unrecorded run of each (caches, lazy set-up), the
    // milliseconds of each run as alternate() makes them.
    static Comparison timed(int rounds, const Work& oursWork, const Work& floorWork);

private:
    static int roundsFor(int rounds);
};
