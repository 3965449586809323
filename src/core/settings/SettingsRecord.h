#pragma once

#include <QString>

// The player's choices, one text per field of the settings row. Nothing here
// checks them; SettingsValues holds their texts and the tests on them.
struct SettingsRecord {
    QString status; // the game's mode
    QString rtr;    // the xpack1 expansion takes part
    QString sw;     // the xpack2 expansion takes part
    QString cr;     // crosshair choice "1".."20"
    QString rt;     // reticle choice "1".."3"
    QString secure; // Secure Mode is on
    QString path;   // the game's install directory

    bool operator==(const SettingsRecord&) const = default;
};
