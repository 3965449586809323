#pragma once

#include <QString>

// The player's choices, one text per field of the settings row. Values are
// compared exactly, case included; nothing here checks them.
struct SettingsRecord {
    QString status; // "Pure" or "Grimtide"
    QString rtr;    // "yes"/"no": the xpack1 expansion takes part
    QString sw;     // "yes"/"no": the xpack2 expansion takes part
    QString cr;     // crosshair choice "1".."20"
    QString rt;     // reticle choice "1".."3"
    QString secure; // "Yes"/"No"
    QString path;   // the game's install directory

    bool operator==(const SettingsRecord&) const = default;
};
