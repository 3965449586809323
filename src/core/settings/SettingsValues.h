#pragma once

#include "core/settings/SettingsRecord.h"

#include <QString>

// The texts the settings hold, and the tests the program makes on them. Every
// test is exact, case included, with no trimming. What an unexpected text
// (a hand-edited row, an old file) counts as differs from test to test, and
// stored files rely on each: the comment of a test says which way it leans.
struct SettingsValues {
    // "status": the mode the game is in.
    static QString pure() { return QStringLiteral("Pure"); }
    static QString grimtide() { return QStringLiteral("Grimtide"); }
    // Only "Pure" is pure mode; any other text shows as Grimtide.
    static bool isPure(const QString& status) { return status == pure(); }

    // The fields whose stored value says which files the game holds.
    static QString statusField() { return QStringLiteral("status"); }
    static QString secureField() { return QStringLiteral("secure"); }
    static QString crosshairField() { return QStringLiteral("cr"); }
    static QString reticleField() { return QStringLiteral("rt"); }
    // And the one that says which game they are in, the install directory.
    static QString pathField() { return QStringLiteral("path"); }
    static QString valueOf(const SettingsRecord& record, const QString& field)
    {
        return field == statusField()      ? record.status
               : field == secureField()    ? record.secure
               : field == crosshairField() ? record.cr
               : field == reticleField()   ? record.rt
               : field == pathField()      ? record.path
                                           : QString();
    }

    // "rtr" and "sw": an expansion pack is installed.
    static QString packValue(bool installed)
    {
        return installed ? QStringLiteral("yes") : QStringLiteral("no");
    }
    // A switch reaches a pack's folder only for "yes".
    static bool isPackOn(const QString& pack) { return pack == packValue(true); }
    // The load leaves a pack's box clear only for "no".
    static bool isPackOff(const QString& pack) { return pack == packValue(false); }

    // "secure": Secure Mode, capitalised unlike the packs.
    static QString secureValue(bool on)
    {
        return on ? QStringLiteral("Yes") : QStringLiteral("No");
    }
    // The load ticks Secure Mode's box only for "Yes".
    static bool isSecureOn(const QString& secure) { return secure == secureValue(true); }
    // Only "No" shows the player's own pictures and lets the chooser store
    // them; any other text shows the pinned pair.
    static bool isSecureOff(const QString& secure) { return secure == secureValue(false); }
};
