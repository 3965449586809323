#pragma once

#include "core/mode/ModeFiles.h"

class QString;

enum class ExpansionPack { Rtr, Sw };

// The main window as the mode commands see it.
class ModeView {
public:
    virtual ~ModeView() = default;
    // The status label, with the text of `status`.
    virtual void showStatus(const QString& status) = 0;
    // The mode column: the option buttons and the tray item that offers the
    // other mode. Turning an option button on runs its click command.
    virtual void showMode(GameMode mode) = 0;
    // The label under an expansion pack's heading, with its value.
    virtual void showPackChoice(ExpansionPack pack, const QString& value) = 0;
};
