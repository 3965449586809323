#include "FaultyVfs.h"

#include <sqlite3.h>

#include <optional>

namespace {

struct Plan {
    FaultyVfs::Call call;
    int allowed;
    bool fullDisk;
};

std::optional<Plan> plan;
int callCount = 0;
sqlite3_vfs* real = nullptr;
sqlite3_vfs faulty;

// Our file object holds the real layer's object right behind it.
struct FaultyFile {
    sqlite3_file base;
};

sqlite3_file* inner(sqlite3_file* file)
{
    return reinterpret_cast<sqlite3_file*>(reinterpret_cast<FaultyFile*>(file) + 1);
}

// Counts a call of this kind; true when it is to fail.
bool fails(FaultyVfs::Call call)
{
    if (!plan || plan->call != call)
        return false;
    return ++callCount > plan->allowed;
}

int xClose(sqlite3_file* f) { return inner(f)->pMethods->xClose(inner(f)); }
int xRead(sqlite3_file* f, void* b, int n, sqlite3_int64 o) { return inner(f)->pMethods->xRead(inner(f), b, n, o); }
int xWrite(sqlite3_file* f, const void* b, int n, sqlite3_int64 o)
{
    if (fails(FaultyVfs::Call::Write))
        return plan->fullDisk ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    return inner(f)->pMethods->xWrite(inner(f), b, n, o);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) { return inner(f)->pMethods->xTruncate(inner(f), size); }
int xSync(sqlite3_file* f, int flags)
{
    if (fails(FaultyVfs::Call::Sync))
        return SQLITE_IOERR_FSYNC;
    return inner(f)->pMethods->xSync(inner(f), flags);
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) { return inner(f)->pMethods->xFileSize(inner(f), size); }
int xLock(sqlite3_file* f, int level) { return inner(f)->pMethods->xLock(inner(f), level); }
int xUnlock(sqlite3_file* f, int level) { return inner(f)->pMethods->xUnlock(inner(f), level); }
int xCheckReservedLock(sqlite3_file* f, int* out) { return inner(f)->pMethods->xCheckReservedLock(inner(f), out); }
int xFileControl(sqlite3_file* f, int op, void* arg) { return inner(f)->pMethods->xFileControl(inner(f), op, arg); }
int xSectorSize(sqlite3_file* f) { return inner(f)->pMethods->xSectorSize(inner(f)); }
int xDeviceCharacteristics(sqlite3_file* f) { return inner(f)->pMethods->xDeviceCharacteristics(inner(f)); }

// Version 1: no shared memory and no memory mapping, which the settings
// file's rollback journal does not use.
const sqlite3_io_methods methods{1,     xClose,   xRead,        xWrite,
                                 xTruncate, xSync, xFileSize,    xLock,
                                 xUnlock,   xCheckReservedLock, xFileControl,
                                 xSectorSize, xDeviceCharacteristics,
                                 nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

int xOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags)
{
    file->pMethods = nullptr;
    const int rc = real->xOpen(real, name, inner(file), flags, outFlags);
    if (rc == SQLITE_OK)
        file->pMethods = &methods;
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncFolder)
{
    if (fails(FaultyVfs::Call::Delete))
        return SQLITE_IOERR_DELETE;
    return real->xDelete(real, name, syncFolder);
}

} // namespace

void FaultyVfs::install()
{
    real = sqlite3_vfs_find(nullptr);
    faulty = *real;
    faulty.zName = "faulty";
    faulty.szOsFile = int(sizeof(FaultyFile)) + real->szOsFile;
    faulty.xOpen = xOpen;
    faulty.xDelete = xDelete;
    sqlite3_vfs_register(&faulty, 1);
}

void FaultyVfs::arm(Call call, int allowed, bool fullDisk)
{
    plan = Plan{call, allowed, fullDisk};
    callCount = 0;
}

void FaultyVfs::disarm()
{
    plan.reset();
}

int FaultyVfs::calls()
{
    return callCount;
}
