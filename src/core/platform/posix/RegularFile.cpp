#include "core/platform/RegularFile.h"

#include "core/platform/posix/Descriptor.h"
#include "core/platform/posix/FileCalls.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Up to largest + 1 bytes, so that a file that grew past the size is seen.
bool readUpTo(int fd, qint64 largest, qint64 expected, QByteArray& contents)
{
    contents.resize(std::min(expected, largest) + 1);
    qint64 done = 0;
    for (;;) {
        if (done == contents.size()) {
            if (done > largest)
                return false;
            contents.resize(std::min(2 * done, largest + 1));
        }
        const auto got = ::read(fd, contents.data() + done, size_t(contents.size() - done));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            return false;
        done += std::max<qint64>(got, 0);
    }
    contents.resize(done);
    return true;
}

} // namespace

bool RegularFile::read(const QString& path, qint64 largest, QByteArray& contents)
{
    const Descriptor file(FileCalls::openPlain(QFile::encodeName(path).constData(), O_RDONLY));
    struct stat about {};
    const bool read = file.fd() >= 0 && ::fstat(file.fd(), &about) == 0 && about.st_size <= largest
                      && readUpTo(file.fd(), largest, about.st_size, contents);
    if (!read)
        contents.resize(0);
    return read;
}
