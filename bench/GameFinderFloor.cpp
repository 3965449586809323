#include "GameFinderFloor.h"

#include <cstring>
#include <stdexcept>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The headers as they stand in the file, with its doubled backslashes.
const std::string keys[] = {"[Software\\\\EA GAMES\\\\Battlefield 1942]",
                            "[Software\\\\Wow6432Node\\\\EA GAMES\\\\Battlefield 1942]"};
const char* const usualFolders[] = {"/Program Files/EA GAMES/Battlefield 1942",
                                    "/Program Files (x86)/EA GAMES/Battlefield 1942",
                                    "/Program Files (x86)/Origin Games/Battlefield 1942"};

bool isKind(const std::string& path, mode_t kind)
{
    struct stat about {};
    return ::stat(path.c_str(), &about) == 0 && (about.st_mode & S_IFMT) == kind;
}

// A header at `at` (a '[' that begins a line) that is one of the keys.
bool isKey(const char* at, const char* end)
{
    for (const std::string& key : keys) {
        if (std::size_t(end - at) >= key.size() && ::strncasecmp(at, key.c_str(), key.size()) == 0)
            return true;
    }
    return false;
}

} // namespace

GameFinderFloor::Found GameFinderFloor::search(const std::string& home)
{
    const std::string games = home + "/Games";
    DIR* folder = ::opendir(games.c_str());
    if (!folder)
        throw std::runtime_error("cannot list the bench home");
    Found found;
    while (const dirent* entry = ::readdir(folder)) {
        const std::string prefix = games + '/' + entry->d_name;
        if (entry->d_name[0] == '.' || !isKind(prefix + "/drive_c", S_IFDIR))
            continue;
        found.registeredPrefixes += registryNamesGame(prefix + "/system.reg");
        found.installedGames += gamesInUsualFolders(prefix + "/drive_c");
    }
    ::closedir(folder);
    return found;
}

bool GameFinderFloor::registryNamesGame(const std::string& file)
{
    readWhole(file);
    const char* const begin = m_buffer.data();
    const char* const end = begin + m_buffer.size();
    bool named = false;
    for (const char* at = begin; (at = static_cast<const char*>(std::memchr(at, '[', end - at)));
         ++at) {
        if ((at == begin || at[-1] == '\n') && isKey(at, end))
            named = true;
    }
    return named;
}

void GameFinderFloor::readWhole(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat about {};
    if (fd < 0 || ::fstat(fd, &about) != 0)
        throw std::runtime_error("cannot read a bench registry");
    m_buffer.resize(std::size_t(about.st_size));
    std::size_t done = 0;
    while (done < m_buffer.size()) {
        const ssize_t got = ::read(fd, m_buffer.data() + done, m_buffer.size() - done);
        if (got <= 0)
            break;
        done += std::size_t(got);
    }
    ::close(fd);
    if (done != m_buffer.size())
        throw std::runtime_error("cannot read a bench registry");
}

int GameFinderFloor::gamesInUsualFolders(const std::string& driveC)
{
    int games = 0;
    for (const char* usual : usualFolders) {
        const std::string folder = driveC + usual;
        games += isKind(folder, S_IFDIR)
                 && (isKind(folder + "/BF1942.exe", S_IFREG)
                     || isKind(folder + "/mods/bf1942", S_IFDIR));
    }
    return games;
}
