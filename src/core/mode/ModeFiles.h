#pragma once

#include "core/gamefiles/GameFileCopy.h"

#include <QList>
#include <QString>

enum class GameMode { Pure, Grimtide };
// RTR's folder is "xpack1", SW's "xpack2".
enum class ExpansionPack { Rtr, Sw };

// The text of "status" for a mode, and the other mode.
QString modeStatus(GameMode mode);
GameMode otherMode(GameMode mode);

// The copies that put the game in a mode, in the order they are made: the
// base game first, then the expansions whose value is on (isPackOn).
// Grimtide mode needs the mod's folder, "gtide_base".
QList<GameFileCopy> modeCopies(GameMode mode, const QString& rtr, const QString& sw,
                               const QString& modsPath);

// Whether the pack's folder is below the mods path, in any case.
bool hasPackFolder(const QString& modsPath, ExpansionPack pack);
