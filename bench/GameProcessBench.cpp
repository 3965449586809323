#include "GameProcessBench.h"

#include "ResultTable.h"
#include "core/platform/GameProcess.h"

#include <QDir>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int processes = 500;
constexpr int rounds = 21;
constexpr double targetMilliseconds = 5;

qsizetype processCount()
{
    return QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs).size();
}

// Children that wait, without using the processor, until the pipe closes.
class SleepingChildren {
public:
    explicit SleepingChildren(qsizetype count)
    {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0)
            throw std::runtime_error("cannot make a pipe");
        m_writeEnd = ends[1];
        for (qsizetype i = 0; i < count; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(ends[1]);
                char byte;
                while (::read(ends[0], &byte, 1) != 0) {
                }
                ::_exit(0);
            }
            if (child > 0)
                m_children.push_back(child);
        }
        ::close(ends[0]);
    }
    ~SleepingChildren()
    {
        ::close(m_writeEnd);
        for (const pid_t child : m_children)
            ::waitpid(child, nullptr, 0);
    }

private:
    int m_writeEnd = -1;
    std::vector<pid_t> m_children;
};

void readEveryName()
{
    DIR* proc = ::opendir("/proc");
    if (!proc)
        throw std::runtime_error("cannot list /proc");
    char name[64];
    char path[sizeof(dirent::d_name) + 16];
    while (const dirent* entry = ::readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        std::snprintf(path, sizeof path, "/proc/%s/comm", entry->d_name);
        const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
        if (fd >= 0 && ::read(fd, name, sizeof name) < 0)
            throw std::runtime_error("cannot read a process's name");
        if (fd >= 0)
            ::close(fd);
    }
    ::closedir(proc);
}

} // namespace

void GameProcessBench::run(ResultTable& table)
{
    const SleepingChildren children(std::max<qsizetype>(0, processes - processCount()));
    const qsizetype running = processCount();
    const Comparison figures = Comparison::timed(
        rounds,
        [] {
            if (GameProcess::running())
                throw std::runtime_error("Battlefield 1942 is running here");
        },
        readEveryName);
    table.addRow("game running check, " + std::to_string(running) + " processes", "ms", figures,
                 ResultTable::noLimit);
    const double median = figures.ours.median();
    table.addNote("game running check: target < " + ResultTable::number(targetMilliseconds, 0)
                  + " ms with " + std::to_string(processes)
                  + " processes: " + (median < targetMilliseconds ? "met" : "MISSED")
                  + "; the floor lists /proc and reads each process's name");
}
