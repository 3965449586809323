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
    // never fails and never waits: where the processes can't be listed or
    // read, none is found.
    static std::optional<QString> running();
    // True for a process name or argument that ends in "BF1942.exe", in any
    // case and with any folder before it.
    static bool namesTheGame(QByteArrayView text);
};
