// Preloaded into a test, which arms it through grimtide_fault_arm (support/FaultShim.h): the
// chosen call fails as a bad or full disk would, or with -SIGKILL kills as a power cut would.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Plan {
    const char* call = nullptr;
    int allowed = 0, error = 0;
    bool once = false;
} plan;

// True when the armed call is to fail now; errno is then set.
bool fails(const char* kind)
{
    if (!plan.call || std::strcmp(plan.call, kind) != 0 || plan.allowed-- > 0)
        return false;
    if (plan.error == -SIGKILL)
        std::raise(SIGKILL);
    errno = plan.error;
    if (plan.once)
        plan.call = nullptr;
    return true;
}

// The system's own call of that name, unless a call of the kind is to fail now.
template <typename Result, typename... Arguments>
Result pass(const char* name, const char* kind, Arguments... arguments)
{
    using Real = Result (*)(Arguments...);
    return fails(kind) ? -1 : reinterpret_cast<Real>(dlsym(RTLD_NEXT, name))(arguments...);
}

} // namespace

extern "C" {

void grimtide_fault_arm(const char* call, int allowed, int error, bool once)
{
    plan = {call, allowed, error, once};
}

// Only writes into files count; the test's own output still gets through.
ssize_t write(int fd, const void* data, size_t size)
{
    struct stat info {};
    const bool file = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    return pass<ssize_t>("write", file ? "write" : "", fd, data, size);
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t at)
{
    return pass<ssize_t>("pwrite64", "write", fd, data, size, at);
}

// The kernel's copy is a write too; refused on its own, the copier falls back.
ssize_t copy_file_range(int in, off64_t* inAt, int out, off64_t* outAt, size_t size,
                        unsigned int flags)
{
    return fails("copy_file_range")
               ? -1
               : pass<ssize_t>("copy_file_range", "write", in, inAt, out, outAt, size, flags);
}

int rename(const char* from, const char* to)
{
    return pass<int>("rename", "rename", from, to);
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags)
{
    return pass<int>("linkat", "rename", fromFolder, from, toFolder, to, flags);
}

int unlink(const char* name)
{
    return pass<int>("unlink", "unlink", name);
}

int fdatasync(int fd)
{
    return pass<int>("fdatasync", "fdatasync", fd);
}

int fsync(int fd)
{
    return pass<int>("fsync", "fsync", fd);
}
}
