#include "core/mode/ModeFiles.h"

#include "core/common/GamePaths.h"
#include "core/settings/SettingsValues.h"

namespace {

ModeCopy gameFolderCopy(const QString& modeFile, const QString& gameFolder, const QString& modsPath)
{
    return {GamePaths::join({QStringLiteral("cons"), modeFile}),
            modsPath + GamePaths::join({gameFolder, QStringLiteral("init.con")})};
}

} // namespace

QList<ModeCopy> modeCopies(GameMode mode, const QString& rtr, const QString& sw,
                           const QString& modsPath)
{
    const bool pure = mode == GameMode::Pure;
    QList<ModeCopy> copies{
        gameFolderCopy(pure ? QStringLiteral("purebf.con") : QStringLiteral("unbf.con"),
                       QStringLiteral("bf1942"), modsPath)};
    if (SettingsValues::isPackOn(rtr))
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex1.con") : QStringLiteral("unx1.con"),
                           QStringLiteral("xpack1"), modsPath));
    if (SettingsValues::isPackOn(sw))
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex2.con") : QStringLiteral("unx2.con"),
                           QStringLiteral("xpack2"), modsPath));
    return copies;
}
