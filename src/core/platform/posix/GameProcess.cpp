#include "core/platform/GameProcess.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QByteArrayView gameProgram = "bf1942.exe";

// The bytes of a small file of /proc, up to the buffer's size; empty when it
// can't be read (the process ended meanwhile, or it is not ours to read).
QByteArrayView readProcFile(int proc, const char* pid, const char* file, char* buffer, size_t size)
{
    char relative[sizeof(dirent::d_name) + 16];
    std::snprintf(relative, sizeof relative, "%s/%s", pid, file);
    const int fd = ::openat(proc, relative, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {};
    const ssize_t got = ::read(fd, buffer, size);
    ::close(fd);
    return got > 0 ? QByteArrayView(buffer, got) : QByteArrayView();
}

bool isProcessNumber(const char* name)
{
    for (const char* c = name; *c; ++c) {
        if (!std::isdigit(static_cast<unsigned char>(*c)))
            return false;
    }
    return *name != '\0';
}

// Wine names its processes after their program (prctl), but older versions
// leave "wine-preloader" or "wine64-preloade" (cut to 15 bytes). Only then is
// the command line read: reading it takes the process's memory lock, which a
// process stuck in the kernel may hold for long, while the name never waits;
// and one read a process less keeps the check cheap with many processes.
bool mayBeWine(QByteArrayView name)
{
    char lower[16] = {};
    const qsizetype length = std::min<qsizetype>(name.size(), sizeof lower - 1);
    for (qsizetype i = 0; i < length; ++i)
        lower[i] = char(std::tolower(static_cast<unsigned char>(name[i])));
    const QByteArrayView text(lower, length);
    return text.contains("wine") || text.contains("preloader") || text.contains(".exe");
}

// The program and its first argument, as Wine's own start and a
// "wine BF1942.exe" start put them.
bool commandLineNamesTheGame(QByteArrayView line)
{
    const qsizetype end = line.indexOf('\0');
    const QByteArrayView program = end < 0 ? line : line.first(end);
    if (GameProcess::namesTheGame(program))
        return true;
    if (end < 0)
        return false;
    const QByteArrayView rest = line.sliced(end + 1);
    const qsizetype next = rest.indexOf('\0');
    return GameProcess::namesTheGame(next < 0 ? rest : rest.first(next));
}

} // namespace

bool GameProcess::namesTheGame(QByteArrayView text)
{
    while (!text.isEmpty() && (text.back() == '\n' || text.back() == '\0'))
        text.chop(1);
    if (text.size() < gameProgram.size())
        return false;
    const QByteArrayView end = text.last(gameProgram.size());
    if (end.compare(gameProgram, Qt::CaseInsensitive) != 0)
        return false;
    const qsizetype before = text.size() - gameProgram.size() - 1;
    return before < 0 || text[before] == '/' || text[before] == '\\';
}

std::optional<QString> GameProcess::running()
{
    const int proc = ::open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (proc < 0)
        return std::nullopt;
    DIR* entries = ::fdopendir(proc);
    if (!entries) {
        ::close(proc);
        return std::nullopt;
    }
    std::optional<QString> found;
    char buffer[4096];
    while (!found) {
        const dirent* entry = ::readdir(entries);
        if (!entry)
            break;
        if (!isProcessNumber(entry->d_name))
            continue;
        const char* pid = entry->d_name;
        const QByteArrayView name = readProcFile(proc, pid, "comm", buffer, sizeof buffer);
        if (!namesTheGame(name)
            && !(mayBeWine(name)
                 && commandLineNamesTheGame(
                     readProcFile(proc, pid, "cmdline", buffer, sizeof buffer))))
            continue;
        found = QStringLiteral("process %1 (BF1942.exe)").arg(QString::fromLatin1(pid));
    }
    ::closedir(entries);
    return found;
}
