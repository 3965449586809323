#pragma once

#include <QString>

// SQLite opens the settings file and its journal itself, with a blocking
// open: a named pipe at one of those names would hang it for good. Once this
// is in place every file of a database is opened without waiting and kept
// only when it is a regular file.
namespace SqliteFiles {
// Before the first database is opened; later calls do nothing.
void openWithoutWaiting();
// The file SQLite was last refused on this thread, taken once; empty when none.
QString takeRefused();
} // namespace SqliteFiles
