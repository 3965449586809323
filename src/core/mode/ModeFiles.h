#pragma once

#include <QList>
#include <QString>

enum class GameMode { Pure, Grimtide };

struct ModeCopy {
    QString source;      // relative to the working directory
    QString destination; // under the mods path
};

// The copies that put the game in a mode, in the order they are made: the
// base game first, then the expansions whose value is on (isPackOn).
QList<ModeCopy> modeCopies(GameMode mode, const QString& rtr, const QString& sw,
                           const QString& modsPath);
