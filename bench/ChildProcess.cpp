#include "ChildProcess.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string nameOf(const std::string& variable)
{
    return variable.substr(0, variable.find('='));
}

// The null-ended array of C strings that exec takes.
std::vector<char*> pointersTo(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const std::string& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::Outcome ChildProcess::run(const std::string& program,
                                        const std::vector<std::string>& arguments,
                                        const std::string& folder, const Environment& changes)
{
    // Everything the child needs is made before fork: after it, only
    // async-signal-safe calls.
    std::vector<std::string> commandLine{program};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    const std::vector<char*> argv = pointersTo(commandLine);
    const std::vector<std::string> environment = environmentWith(changes);
    const std::vector<char*> envp = pointersTo(environment);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0)
        becomeProgram(argv, envp, folder, pipeEnds[1]);
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

std::string ChildProcess::onPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = folder + '/' + name;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    throw std::runtime_error("no " + name + " on PATH");
}

std::vector<std::string> ChildProcess::environmentWith(const Environment& changes)
{
    const auto changed = [&changes](const std::string& variable) {
        return std::any_of(changes.begin(), changes.end(), [&](const std::string& change) {
            return nameOf(change) == nameOf(variable);
        });
    };
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        if (!changed(*variable))
            environment.emplace_back(*variable);
    }
    std::copy_if(changes.begin(), changes.end(), std::back_inserter(environment),
                 [](const std::string& change) { return change.find('=') != std::string::npos; });
    return environment;
}

void ChildProcess::becomeProgram(const std::vector<char*>& argv, const std::vector<char*>& envp,
                                 const std::string& folder, int outputPipe)
{
    if (::chdir(folder.c_str()) == 0 && ::dup2(outputPipe, STDOUT_FILENO) >= 0)
        ::execve(argv[0], argv.data(), envp.data());
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
