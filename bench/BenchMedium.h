#pragma once

#include <QString>
#include <QtGlobal>

#include <string>
#include <vector>

// A file system the file benchmarks run on: the temporary folder (TMPDIR,
// default /tmp) as "disk", and /dev/shm as "tmpfs" when it is one. On a
// tmpfs a sync costs nothing, so what is left of a copy is its own work.
class BenchMedium {
public:
    std::string name;
    QString folder;

    // The disk, then the tmpfs if there is one.
    static std::vector<BenchMedium> available();
    static bool hasTmpfs();
    bool hasRoomFor(qint64 bytes) const;
};
