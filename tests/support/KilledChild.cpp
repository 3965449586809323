#include "support/KilledChild.h"

#include <atomic>
#include <csignal>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

KilledChild::Outcome KilledChild::run(const Work& work, std::chrono::microseconds delay)
{
    // Shared with the child, which survives the kill no more than its memory.
    void* shared = ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                          MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    auto* lastStep = new (shared) std::atomic<int>(noStep);
    const pid_t child = ::fork();
    if (child == 0) {
        try {
            work([lastStep](int step) { lastStep->store(step); });
        } catch (...) {
        }
        ::_exit(1);
    }
    Outcome outcome;
    if (child > 0) {
        ::usleep(useconds_t(delay.count()));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome = {WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, lastStep->load()};
    }
    ::munmap(shared, sizeof(std::atomic<int>));
    return outcome;
}
