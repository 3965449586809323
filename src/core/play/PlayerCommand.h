#pragma once

#include "core/play/PlayPlan.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The player's own start of the game, which replaces the runner's: the
// file play.conf beside gtdb.inf, of "key=value" lines (docs/play.md):
//   program=wine              once: a command on the PATH or a program's path
//   argument=BF1942.exe       each argument, in order; none at all is fine
//   environment=WINEDEBUG=-all  each entry it sets, NAME=value
//   folder=/games/bf1942      at most once; the game's folder where none is given
// Blank lines and lines starting with "#" say nothing. No shell reads it.
class PlayerCommand {
public:
    static constexpr qint64 largestFile = 64 << 10;

    static QString fileIn(const QString& workingFolder);

    // The plan of the file; nothing when there is none. A file that can't
    // be used (a link, which is never followed, anything but a plain file,
    // one larger than largestFile or of any other form) gives a refused
    // plan that names it and says why.
    static std::optional<PlayPlan> read(const QString& file, const QString& gameFolder);
    static PlayPlan parse(const QByteArray& text, const QString& file, const QString& gameFolder);
};
