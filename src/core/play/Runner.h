#pragma once

#include "core/play/PlayPlan.h"

// How Battlefield 1942 is started where it lies: under Wine itself, or
// through the launcher whose record names its prefix. Each kind knows only
// what its record gave it; none reads a file or starts anything.
class Runner {
public:
    virtual ~Runner() = default;
    // What would run, or a refused plan where this runner can't start it.
    virtual PlayPlan plan() const = 0;
};
