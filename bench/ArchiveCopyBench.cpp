#include "ArchiveCopyBench.h"

#include "BenchMedium.h"
#include "CpAndSync.h"
#include "ResultTable.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 mebibyte = 1 << 20;

struct Size {
    int mebibytes;
    int rounds;
};
constexpr Size sizes[] = {{64, 11}, {256, 7}, {1024, 7}};

// Each floor with the target of the program's copy against it: at least as fast as plain
// cp and sync.
struct Floor {
    CpAndSync copy;
    double limit;
};
const std::vector<Floor>& floors()
{
    static const std::vector<Floor> both{{CpAndSync({"--reflink=never"}), ResultTable::noLimit},
                                         {CpAndSync({}), 1.0}};
    return both;
}

// The source, the copy and, while the copy is written, its temporary.
constexpr qint64 room(const Size& size)
{
    return 3 * size.mebibytes * mebibyte + 64 * mebibyte;
}

std::string sizeName(const Size& size)
{
    return size.mebibytes < 1024 ? std::to_string(size.mebibytes) + " MiB"
                                 : std::to_string(size.mebibytes / 1024) + " GiB";
}

// Random bytes, so that no layer can make the copy cheaper than it is; on
// disk before the timing starts, so that its write-back costs no run.
void writeArchive(const QString& path, int mebibytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::mt19937_64 random{std::uint64_t(mebibytes)};
    std::vector<std::uint64_t> block(mebibyte / sizeof(std::uint64_t));
    bool written = fd >= 0;
    for (int i = 0; written && i < mebibytes; ++i) {
        for (std::uint64_t& word : block)
            word = random();
        written = ::write(fd, block.data(), mebibyte) == mebibyte;
    }
    if (!written || ::fsync(fd) != 0 || ::close(fd) != 0)
        throw std::runtime_error("cannot write the bench archive");
}

// Ours and both floors write the same destination by turns, so that each
// run replaces a file as large as the one it writes.
void copiesOfSize(const Size& size, const BenchMedium& medium, ResultTable& table)
{
    const QTemporaryDir dir(QDir(medium.folder).filePath(QStringLiteral("grimtide-bench-XXXXXX")));
    const QDir at(dir.path());
    at.mkpath(QStringLiteral("cons/cr/1"));
    at.mkpath(QStringLiteral("game/mods/gtide_base/archives"));
    const QString source = at.filePath(QStringLiteral("cons/cr/1/menu.rfa"));
    const QString archives = at.filePath(QStringLiteral("game/mods/gtide_base/archives"));
    const QString destination = archives + QStringLiteral("/menu.rfa");
    writeArchive(source, size.mebibytes);

    // As the program writes a game file: a temporary beside it, synced,
    // renamed over it, and the folder synced; leftovers swept once.
    LeftoverSweep sweep;
    const auto copy = [&] {
        sweep.sweepOnce(archives);
        StagedFile staged(destination, 0644);
        staged.write(source);
        staged.putInPlace();
        NativeFileSystem::syncFolder(archives);
    };
    for (const Floor& floor : floors()) {
        const Comparison figures = Comparison::timed(size.rounds, copy, [&] {
            floor.copy.copy(source.toStdString(), destination.toStdString());
        });
        table.addRow("archive " + sizeName(size) + ", " + medium.name + " / " + floor.copy.name(),
                     "ms", figures, floor.limit);
    }
}

} // namespace

void ArchiveCopyBench::run(ResultTable& table)
{
    for (const BenchMedium& medium : BenchMedium::available()) {
        for (const Size& size : sizes) {
            if (medium.hasRoomFor(room(size)))
                copiesOfSize(size, medium, table);
            else
                table.addNote("archive " + sizeName(size) + ", " + medium.name
                              + ": left out, too little free room in "
                              + medium.folder.toStdString());
        }
    }
    table.addNote("archive: the floors run cp as a child, then fdatasync the copy and fsync its "
                  "folder");
}
