#include "core/platform/AdvisoryLock.h"

#include <sys/file.h>
#include <sys/stat.h>

bool AdvisoryLock::tryLock(int descriptor)
{
    return ::flock(descriptor, LOCK_EX | LOCK_NB) == 0;
}

bool AdvisoryLock::stillNamed(const QByteArray& path, int descriptor)
{
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::lstat(path.constData(), &named) == 0
           && opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}
