#pragma once

#include <QStringList>

// The five files the program ever replaces, below a game's mods folder.
namespace GameFileNames {
// Names joined by "/": "bf1942/init.con", ..., "gtide_base/archives/bf1942/game.rfa".
const QStringList& all();
// Those whose folder exists below the resolved mods folder, in the spelling
// a copy into the game gives them, each with its folder's links resolved:
// the one form in which two spellings of a game file compare equal.
QStringList resolvedIn(const QString& mods);
// A path in that form; its folder must exist, else it is only the name.
QString resolvedForm(const QString& path);
} // namespace GameFileNames
