#include "support/KilledChild.h"

#include <atomic>
#include <csignal>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

KilledChild::Outcome KilledChild::run(const std::function<void(const Report& report)>& work,
                                      std::chrono::microseconds delay)
{
    // Shared with the child, which survives the kill no more than its memory.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    auto* lastStep = new (shared) std::atomic<int>(Outcome().lastStep);
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work([lastStep](int step) { lastStep->store(step); });
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    if (child > 0) { // never a kill(-1): that would reach every process we may signal
        ::usleep(useconds_t(delay.count()));
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
    }
    const Outcome outcome{child > 0 && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
                          lastStep->load()};
    ::munmap(shared, sizeof(std::atomic<int>));
    return outcome;
}
