// Loaded with LD_PRELOAD into a test: while GRIMTIDE_FAULT names a call,
// that call fails as a bad or full disk would make it fail.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool armed(const char* call)
{
    const char* fault = std::getenv("GRIMTIDE_FAULT");
    return fault && std::strcmp(fault, call) == 0;
}

template <typename Function>
Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int failWith(int error)
{
    errno = error;
    return -1;
}

// Only writes into files fail; the test's own output still gets through.
bool isFile(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

extern "C" {

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    if (armed("write") && isFile(fd))
        return failWith(ENOSPC);
    return real(fd, data, size);
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return armed("rename") ? failWith(EIO) : real(from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return armed("rename") ? failWith(EIO) : real(fromFolder, from, toFolder, to, flags);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    return armed("fdatasync") ? failWith(EIO) : real(fd);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return armed("fsync") ? failWith(EIO) : real(fd);
}
}
