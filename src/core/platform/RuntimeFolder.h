#pragma once

#include <QString>

// A folder that only this user may enter, for what the program keeps outside
// its working folder while it runs (the call socket, a lock the working
// folder can't hold). Being private, its names need not be secret.
class RuntimeFolder {
public:
    // $XDG_RUNTIME_DIR, else a folder of the user's own in the temporary
    // folder, made on first use. Empty when neither is the user's alone.
    static QString path();
};
