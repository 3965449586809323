#include "BenchMedium.h"

#include <QDir>
#include <QFile>

#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>

namespace {

const QString sharedMemory = QStringLiteral("/dev/shm");

} // namespace

bool BenchMedium::hasTmpfs()
{
    struct statfs about {};
    return ::statfs(QFile::encodeName(sharedMemory).constData(), &about) == 0
           && about.f_type == TMPFS_MAGIC;
}

std::vector<BenchMedium> BenchMedium::available()
{
    std::vector<BenchMedium> media{{"disk", QDir::tempPath()}};
    if (hasTmpfs())
        media.push_back({"tmpfs", sharedMemory});
    return media;
}

bool BenchMedium::hasRoomFor(qint64 bytes) const
{
    struct statfs about {};
    return ::statfs(QFile::encodeName(folder).constData(), &about) == 0
           && qint64(about.f_bavail) * qint64(about.f_bsize) >= bytes;
}
