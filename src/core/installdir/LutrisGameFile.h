#pragma once

#include <QByteArray>
#include <QString>

// What Lutris records of a Wine game in its game file, a YAML document such
// as ~/.local/share/lutris/games/NAME.yml: under the top-level "game:", the
// prefix and the game's program, as YAML writes a text. A file that is no
// YAML, or gives them as anything but a text, names nothing.
class LutrisGameFile {
public:
    struct Game {
        QString prefix; // as written ("~/Games/x" too); null when not named
        QString exe;
    };
    static Game parse(const QByteArray& yaml);
};
