#include "core/platform/GameProcess.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr QByteArrayView gameProgram = "bf1942.exe";
// Wine's loaders by their file names; the last is how the system shows the
// 64-bit preloader's process name, cut to 15 bytes.
constexpr QByteArrayView wineLoaders[] = {"wine", "wine64", "wine-preloader", "wine64-preloader",
                                          "wine64-preloade"};

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

// The name after the last folder, Unix's or Windows's, without the line end
// the system puts after a process's name.
QByteArrayView fileName(QByteArrayView path)
{
    if (path.endsWith('\n'))
        path.chop(1);
    const qsizetype folder = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return path.sliced(folder + 1);
}

bool namesTheGame(QByteArrayView program)
{
    return fileName(program).compare(gameProgram, Qt::CaseInsensitive) == 0;
}

bool isWineLoader(QByteArrayView program)
{
    const QByteArrayView name = fileName(program);
    return std::find(std::begin(wineLoaders), std::end(wineLoaders), name) != std::end(wineLoaders);
}

// The first argument of what is left of a command line, taken off it.
QByteArrayView takeArgument(QByteArrayView& line)
{
    const qsizetype end = line.indexOf('\0');
    const QByteArrayView argument = end < 0 ? line : line.first(end);
    line = end < 0 ? QByteArrayView() : line.sliced(end + 1);
    return argument;
}

// A process that has ended and waits for its parent to collect it: its name
// stays, but nothing of it runs. The state is the field after the name,
// which ends at the last ')'.
bool hasEnded(QByteArrayView stat)
{
    const qsizetype nameEnd = stat.lastIndexOf(')');
    return nameEnd < 0 || stat.size() < nameEnd + 3 || stat[nameEnd + 2] == 'Z'
           || stat[nameEnd + 2] == 'X';
}

} // namespace

bool GameProcess::isTheGame(QByteArrayView name, QByteArrayView commandLine)
{
    const QByteArrayView startedAs = takeArgument(commandLine);
    if (namesTheGame(name) || namesTheGame(startedAs))
        return true;
    if (!isWineLoader(name) && !isWineLoader(startedAs))
        return false;
    // A preloader starts the loader, which starts the program.
    while (!commandLine.isEmpty()) {
        const QByteArrayView argument = takeArgument(commandLine);
        if (!isWineLoader(argument))
            return namesTheGame(argument);
    }
    return false;
}

// A name given at the start (exec -a) is only in the command line, so each
// process's is read. Like ps, that read takes the process's memory lock,
// which only a process stuck in the kernel holds for long.
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
    char name[64];
    char line[4096];
    while (!found) {
        const dirent* entry = ::readdir(entries);
        if (!entry)
            break;
        if (!isProcessNumber(entry->d_name))
            continue;
        const char* pid = entry->d_name;
        if (!isTheGame(readProcFile(proc, pid, "comm", name, sizeof name),
                       readProcFile(proc, pid, "cmdline", line, sizeof line))
            || hasEnded(readProcFile(proc, pid, "stat", line, sizeof line)))
            continue;
        found = QStringLiteral("process %1 (BF1942.exe)").arg(QString::fromLatin1(pid));
    }
    ::closedir(entries);
    return found;
}
