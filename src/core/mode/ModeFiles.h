#pragma once

#include "core/gamefiles/GameFileCopy.h"

#include <QList>
#include <QString>

enum class GameMode { Pure, Grimtide };

// The copies that put the game in a mode, in the order they are made: the
// base game first, then the expansions whose value is on (isPackOn).
QList<GameFileCopy> modeCopies(GameMode mode, const QString& rtr, const QString& sw,
                               const QString& modsPath);
