#include "core/mode/ModeFiles.h"

#include "core/common/GamePaths.h"

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
    const QString yes = QStringLiteral("yes");
    QList<ModeCopy> copies{
        gameFolderCopy(pure ? QStringLiteral("purebf.con") : QStringLiteral("unbf.con"),
                       QStringLiteral("bf1942"), modsPath)};
    if (rtr == yes)
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex1.con") : QStringLiteral("unx1.con"),
                           QStringLiteral("xpack1"), modsPath));
    if (sw == yes)
        copies.append(
            gameFolderCopy(pure ? QStringLiteral("purex2.con") : QStringLiteral("unx2.con"),
                           QStringLiteral("xpack2"), modsPath));
    return copies;
}
