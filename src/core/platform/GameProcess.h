#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// Whether Battlefield 1942 runs on this machine. The game reads its init.con
// files only when it starts and holds its archives open while it runs, so
// nothing of it is replaced then.
class GameProcess {
public:
    // The game's process, as "process 1234 (BF1942.exe)", or nothing. It
    // never fails: where the processes can't be listed or read, none is found.
    static std::optional<QString> running();
    // Whether a process is the game, by what runs, never by what it was given
    // to work on: its own name (as the system keeps it, cut to 15 bytes) or
    // the name it was started under (the command line's first argument) is
    // BF1942.exe, in any case and in any folder, as Wine names a program's
    // process; or it is a Wine loader whose program is BF1942.exe. A program
    // with the game's file as a later argument (an editor, a Wine tool) is
    // not the game. The command line holds each argument ended by a zero
    // byte, as the system shows it.
    static bool isTheGame(QByteArrayView name, QByteArrayView commandLine);
};
