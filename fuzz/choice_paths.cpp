// Any settings texts, one a line (cr, rt, path, rtr, sw): reading cr and rt
// as numbers never goes wrong, and every file the program would copy from
// lies inside "cons", while every file it would write lies under the mods
// path built from the install directory.
#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/common/NumberText.h"
#include "core/crosshair/Catalogue.h"
#include "core/mode/ModeFiles.h"

#include <QDir>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void require(bool holds)
{
    if (!holds)
        std::abort();
}

void requireInsideCons(const QString& path)
{
    const QStringList names = QDir::fromNativeSeparators(path).split(QLatin1Char('/'));
    require(names.size() >= 2 && names.first() == QStringLiteral("cons"));
    for (const QString& name : names)
        require(!name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..")
                && !name.contains(QLatin1Char(':')));
}

void readAsNumber(const QString& text)
{
    try {
        require(std::isfinite(NumberText::read(text)));
    } catch (const Failure& failure) {
        require(failure.number() == FailureNumber::TypeMismatch);
    }
}

void installArchive(Catalogue::Kind kind, const QString& choice, const QString& modsPath)
{
    try {
        const GameFileCopy copy = Catalogue::archiveCopy(kind, choice, modsPath);
        requireInsideCons(copy.source);
        require(copy.destination().startsWith(modsPath));
    } catch (const Failure& failure) {
        require(failure.number() == FailureNumber::FileNotFound);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList texts =
        QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size))
            .split(QLatin1Char('\n'));
    const auto text = [&](int index) { return texts.value(index); };
    const QString modsPath = GamePaths::modsPath(text(2));
    readAsNumber(text(0));
    readAsNumber(text(1));
    installArchive(Catalogue::Kind::Crosshair, text(0), modsPath);
    installArchive(Catalogue::Kind::Reticle, text(1), modsPath);
    for (const GameMode mode : {GameMode::Pure, GameMode::Grimtide}) {
        for (const GameFileCopy& copy : modeCopies(mode, text(3), text(4), modsPath)) {
            requireInsideCons(copy.source);
            require(copy.destination().startsWith(modsPath));
        }
    }
    return 0;
}
