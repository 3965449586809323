#include "support/KilledChild.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

[[noreturn]] void runChild(const KilledChild::Work& work, int out)
{
    const KilledChild::Report report = [out](int step) {
        if (::write(out, &step, sizeof step) != sizeof step)
            ::_exit(3);
    };
    try {
        work(report);
    } catch (...) {
        ::_exit(2);
    }
    ::_exit(1);
}

QList<int> readSteps(int in)
{
    QList<int> steps;
    int step = 0;
    while (::read(in, &step, sizeof step) == sizeof step)
        steps.append(step);
    return steps;
}

} // namespace

KilledChild::Outcome KilledChild::run(const Work& work, std::chrono::microseconds delay)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        runChild(work, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    Outcome outcome;
    if (child > 0) {
        ::usleep(useconds_t(delay.count()));
        ::kill(child, SIGKILL);
        outcome.finished = readSteps(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        outcome.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
    ::close(pipeEnds[0]);
    return outcome;
}
