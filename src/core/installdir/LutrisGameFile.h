#pragma once

#include <QByteArray>
#include <QString>

// What Lutris records of a Wine game in its game file, a YAML document such
// as ~/.local/share/lutris/games/NAME.yml: under the top-level "game:", the
// prefix and the game's program. Only these two keys are read, as YAML
// writes a text: plain, in single or double quotes, folded over lines, with
// comments. A file that gives them in any other form names nothing.
class LutrisGameFile {
public:
    struct Game {
        QString prefix; // as written ("~/Games/x" too); null when not named
        QString exe;
    };
    static Game parse(const QByteArray& yaml);
};
