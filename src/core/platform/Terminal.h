#pragma once

// Whether a person reads the program's standard output in a terminal. Started
// from a desktop menu, nobody does.
class Terminal {
public:
    static bool outputIsOne();
};
