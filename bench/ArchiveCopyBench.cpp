#include "ArchiveCopyBench.h"

#include "BareCopy.h"
#include "ResultTable.h"
#include "core/platform/SafeFileCopier.h"

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

// Small copies are ruled by the fixed costs; the throughput target holds from
// 64 MiB.
struct Size {
    int mebibytes;
    int rounds;
    double limit;
};
constexpr Size sizes[] = {
    {1, 15, ResultTable::noLimit}, {16, 9, ResultTable::noLimit}, {64, 5, 1.25}, {256, 5, 1.25}};

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

Comparison copyOfSize(const Size& size)
{
    const QTemporaryDir dir;
    const QDir at(dir.path());
    at.mkpath(QStringLiteral("cons/cr/1"));
    at.mkpath(QStringLiteral("game/mods/gtide_base/archives"));
    at.mkpath(QStringLiteral("floor"));
    const QString source = at.filePath(QStringLiteral("cons/cr/1/menu.rfa"));
    const QString ours = at.filePath(QStringLiteral("game/mods/gtide_base/archives/menu.rfa"));
    const std::string floorSource = source.toStdString();
    const std::string floor = at.filePath(QStringLiteral("floor/menu.rfa")).toStdString();
    writeArchive(source, size.mebibytes);

    SafeFileCopier copier;
    return Comparison::timed(
        size.rounds, [&] { copier.copy(source, ours); },
        [&] { BareCopy::copyAndSync(floorSource, floor); });
}

std::string perMebibyte(const Size& size, const Comparison& figures)
{
    const auto each = [&size](const Samples& samples) {
        return ResultTable::number(samples.median() / size.mebibytes, 2);
    };
    return "  " + std::to_string(size.mebibytes) + " MiB: " + each(figures.ours) + " / "
           + each(figures.floor);
}

} // namespace

void ArchiveCopyBench::run(ResultTable& table)
{
    std::string linearity = "archive copy, ms per MiB (ours / floor):";
    for (const Size& size : sizes) {
        const Comparison figures = copyOfSize(size);
        table.addRow("archive copy " + std::to_string(size.mebibytes) + " MiB", "ms", figures,
                     size.limit);
        if (size.mebibytes >= 16)
            linearity += perMebibyte(size, figures);
    }
    table.addNote(linearity);
    table.addNote("archive copy: a time ratio <= 1.25 is >= 0.8x the floor's throughput; the "
                  "floor is cp's copy_file_range and sync's fsync, done in-process");
}
