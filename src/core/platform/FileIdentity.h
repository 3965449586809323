#pragma once

#include <QtGlobal>

// Which file a name leads to: two names with one identity are one file. A
// rename keeps it, so it tells whether a file has been moved into place.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};
