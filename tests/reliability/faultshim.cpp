// Loaded with LD_PRELOAD into a test, which arms it through grimtide_fault_arm
// (tests/support/FaultShim.h): the chosen call fails as a bad or full disk would make it fail,
// or, with -SIGKILL, kills the process as a power cut would.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

struct Plan {
    const char* call = nullptr;
    int allowed = 0;
    int error = 0;
    bool once = false;
} plan;

template <typename Function> Function next(const char* name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

// True when the armed call is to fail now; errno is then set.
bool fails(const char* call)
{
    if (!plan.call || std::strcmp(plan.call, call) != 0 || plan.allowed-- > 0)
        return false;
    if (plan.error == -SIGKILL)
        std::raise(SIGKILL);
    errno = plan.error;
    if (plan.once)
        plan.call = nullptr;
    return true;
}

// Only writes into files count; the test's own output still gets through.
bool isFile(int fd)
{
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

extern "C" {

void grimtide_fault_arm(const char* call, int allowed, int error, bool once)
{
    plan = {call, allowed, error, once};
}

ssize_t write(int fd, const void* data, size_t size)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t)>("write");
    return isFile(fd) && fails("write") ? -1 : real(fd, data, size);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t at)
{
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off64_t)>("pwrite64");
    return fails("write") ? -1 : real(fd, data, size, at);
}

// The kernel's copy is a write too; refused on its own, the copier falls back.
ssize_t copy_file_range(int in, off64_t* inAt, int out, off64_t* outAt, size_t size,
                        unsigned int flags)
{
    static const auto real =
        next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned int)>("copy_file_range");
    return fails("copy_file_range") || fails("write") ? -1
                                                      : real(in, inAt, out, outAt, size, flags);
}

int rename(const char* from, const char* to)
{
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return fails("rename") ? -1 : real(from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return fails("rename") ? -1 : real(fromFolder, from, toFolder, to, flags);
}

int unlink(const char* name)
{
    static const auto real = next<int (*)(const char*)>("unlink");
    return fails("unlink") ? -1 : real(name);
}

int fdatasync(int fd)
{
    static const auto real = next<int (*)(int)>("fdatasync");
    return fails("fdatasync") ? -1 : real(fd);
}

int fsync(int fd)
{
    static const auto real = next<int (*)(int)>("fsync");
    return fails("fsync") ? -1 : real(fd);
}
}
