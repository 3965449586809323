#pragma once

#include "core/mode/ModeFiles.h"

#include <QString>

#include <functional>

class ErrorReport;

// The switch that the main window's options and tray items make, and --play
// as well: which choice switches, and the trap its failures are told in.
class ModeSwitch {
public:
    // Only a choice of the mode the game is not in switches: one of the mode
    // it is in, or where its status is neither, changes nothing.
    static bool switches(const QString& status, GameMode mode);
    // Runs the switch's body in the trap named "msetp" or "msetu", where a
    // missing folder is told in plainer words. False when it failed and was
    // told.
    static bool trapped(const ErrorReport& report, GameMode mode,
                        const std::function<void()>& body);
};
