#include "ChildProcess.h"

#include <chrono>
#include <stdexcept>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess::Outcome ChildProcess::run(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::string& folder)
{
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0)
        becomeProgram(argv, folder, pipeEnds[1]);
    ::close(pipeEnds[1]);
    if (pid < 0) {
        ::close(pipeEnds[0]);
        throw std::runtime_error("fork failed");
    }
    Outcome outcome;
    outcome.output = readAll(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    const std::chrono::duration<double, std::milli> taken =
        std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(program + " failed");
    outcome.milliseconds = taken.count();
    outcome.peakResidentMiB = double(usage.ru_maxrss) / 1024; // ru_maxrss is in KiB
    return outcome;
}

void ChildProcess::becomeProgram(const std::vector<char*>& argv, const std::string& folder,
                                 int outputPipe)
{
    if (::chdir(folder.c_str()) == 0 && ::dup2(outputPipe, STDOUT_FILENO) >= 0)
        ::execv(argv[0], argv.data());
    ::_exit(127);
}

std::string ChildProcess::readAll(int descriptor)
{
    std::string text;
    char buffer[256];
    ssize_t got;
    while ((got = ::read(descriptor, buffer, sizeof buffer)) > 0)
        text.append(buffer, std::size_t(got));
    ::close(descriptor);
    return text;
}
