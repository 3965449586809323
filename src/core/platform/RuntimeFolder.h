#pragma once

#include <QString>

// A folder that only this user may enter, for what the program keeps outside
// its working folder while it runs (the call socket, a lock the working
// folder can't hold). Being private, its names need not be secret; one that
// another user could enter, replace or own is never used.
class RuntimeFolder {
public:
    // $XDG_RUNTIME_DIR, else a folder of the user's own in the temporary
    // folder, else one in the cache folder ($XDG_CACHE_HOME or ~/.cache),
    // made on first use. Empty when none of them is the user's alone.
    static QString path();
};
