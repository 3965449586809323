#include "core/mode/ModeFiles.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/platform/PathResolver.h"
#include "core/settings/SettingsValues.h"

namespace {

GameFileCopy gameFolderCopy(const QString& modeFile, const QString& gameFolder,
                            const QString& modsPath, const QString& folderAdvice)
{
    return {GamePaths::join({QStringLiteral("cons"), modeFile}), modsPath,
            gameFolder + QStringLiteral("/init.con"), folderAdvice};
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
    const bool pure = mode == GameMode::Pure;
    QList<GameFileCopy> copies{gameFolderCopy(
        pure ? QStringLiteral("purebf.con") : QStringLiteral("unbf.con"), QStringLiteral("bf1942"),
        modsPath, QStringLiteral("choose Battlefield 1942's install directory under \"Setup\""))};
    if (!pure) {
        copies.first().requiredFolder = QStringLiteral("gtide_base");
        copies.first().requiredAdvice = QStringLiteral("install the Grimtide mod first");
    }
    if (SettingsValues::isPackOn(rtr))
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex1.con") : QStringLiteral("unx1.con"),
                           QStringLiteral("xpack1"), modsPath,
                           QStringLiteral("untick RTR if Road to Rome is not installed")));
    if (SettingsValues::isPackOn(sw))
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex2.con") : QStringLiteral("unx2.con"),
                           QStringLiteral("xpack2"), modsPath,
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
