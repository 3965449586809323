#include "DurableFile.h"

#include <stdexcept>

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

namespace {

void require(bool done, const std::string& what)
{
    if (!done)
        throw std::runtime_error(what);
}

// Mode files are a few hundred bytes: one read and one write each.
void copyContent(int in, int out)
{
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        require(got >= 0, "cannot read a floor source");
        if (got == 0)
            return;
        require(::write(out, buffer, std::size_t(got)) == got, "cannot write a floor copy");
    }
}

} // namespace

std::string DurableFile::folderOf(const std::string& file)
{
    return file.substr(0, file.rfind('/'));
}

void DurableFile::syncData(const std::string& file)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
    require(fd >= 0 && ::fdatasync(fd) == 0, "cannot sync " + file);
    ::close(fd);
}

void DurableFile::syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    require(fd >= 0 && ::fsync(fd) == 0, "cannot sync " + folder);
    ::close(fd);
}

void DurableFile::replace(const std::string& source, const std::string& target)
{
    const std::string temporary = target + ".floor-part";
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    require(in >= 0, "cannot open " + source);
    const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    require(out >= 0, "cannot create " + temporary);
    copyContent(in, out);
    require(::fdatasync(out) == 0, "cannot sync " + temporary);
    ::close(out);
    ::close(in);
    require(::rename(temporary.c_str(), target.c_str()) == 0, "cannot rename " + temporary);
    syncFolder(folderOf(target));
}
