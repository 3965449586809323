#pragma once

// SQLite's default file layer with one kind of call made to fail: once armed,
// the first `allowed` calls of that kind go through and every later one fails
// as a bad disk would. Installed as the default, so the program's own
// connections use it unchanged.
class FaultyVfs {
public:
    // A save never truncates: the rollback journal is deleted, not cut short.
    enum class Call { Write, Sync, Delete };

    static void install();
    // fullDisk makes failing writes report a full disk instead of an I/O error.
    static void arm(Call call, int allowed, bool fullDisk = false);
    static void disarm();
    // The calls of the armed kind made since arming, failed ones included.
    static int calls();
};
