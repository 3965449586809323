#include "core/mode/ModeFiles.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/platform/PathResolver.h"
#include "core/settings/SettingsValues.h"

namespace {

// Each game folder's file in "cons" ends in its own letters: purebf.con, unx1.con...
const QStringList packLetters{QStringLiteral("bf"), QStringLiteral("x1"), QStringLiteral("x2")};

QString consFile(GameMode mode, const QString& letters)
{
    return GamePaths::join({QStringLiteral("cons"),
                            (mode == GameMode::Pure ? QStringLiteral("pure") : QStringLiteral("un"))
                                + letters + QStringLiteral(".con")});
}

GameFileCopy gameFolderCopy(GameMode mode, qsizetype pack, const QString& gameFolder,
                            const QString& modsPath, const QString& folderAdvice)
{
    GameFileCopy copy{consFile(mode, packLetters[pack]), modsPath,
                      gameFolder + QStringLiteral("/init.con"), folderAdvice};
    // Pure is the game as its own files have it; the delivered pure files
    // stand in only where it had none, or where an earlier install had left
    // Grimtide's files in it before the program first wrote there.
    if (mode == GameMode::Pure) {
        copy.keptUnlessOneOf.emplace();
        for (const QString& letters : packLetters)
            copy.keptUnlessOneOf->append(consFile(GameMode::Grimtide, letters));
    }
    return copy;
}

} // namespace

QString modeStatus(GameMode mode)
{
    return mode == GameMode::Pure ? SettingsValues::pure() : SettingsValues::grimtide();
}

GameMode otherMode(GameMode mode)
{
    return mode == GameMode::Pure ? GameMode::Grimtide : GameMode::Pure;
}

QList<GameFileCopy> modeCopies(GameMode mode, const QString& rtr, const QString& sw,
                               const QString& modsPath)
{
    QList<GameFileCopy> copies{gameFolderCopy(
        mode, 0, QStringLiteral("bf1942"), modsPath,
        QStringLiteral("choose Battlefield 1942's install directory under \"Setup\""))};
    if (mode == GameMode::Grimtide) {
        copies.first().requiredFolder = QStringLiteral("gtide_base");
        copies.first().requiredAdvice = QStringLiteral("install the Grimtide mod first");
    }
    if (SettingsValues::isPackOn(rtr))
        copies.append(
            gameFolderCopy(mode, 1, QStringLiteral("xpack1"), modsPath,
                           QStringLiteral("untick RTR if Road to Rome is not installed")));
    if (SettingsValues::isPackOn(sw))
        copies.append(
            gameFolderCopy(mode, 2, QStringLiteral("xpack2"), modsPath,
                           QStringLiteral("untick SW if Secret Weapons is not installed")));
    return copies;
}

bool hasPackFolder(const QString& modsPath, ExpansionPack pack)
{
    try {
        PathResolver::folder(
            modsPath
            + (pack == ExpansionPack::Rtr ? QStringLiteral("xpack1") : QStringLiteral("xpack2")));
        return true;
    } catch (const Failure&) {
        return false;
    }
}
