#include "core/gamefiles/GameFileNames.h"

#include "core/common/Failure.h"
#include "core/platform/PathResolver.h"

#include <QFileInfo>

const QStringList& GameFileNames::all()
{
    static const QStringList files{
        QStringLiteral("bf1942/init.con"), QStringLiteral("xpack1/init.con"),
        QStringLiteral("xpack2/init.con"), QStringLiteral("gtide_base/archives/menu.rfa"),
        QStringLiteral("gtide_base/archives/bf1942/game.rfa")};
    return files;
}

QStringList GameFileNames::resolvedIn(const QString& mods)
{
    QStringList found;
    for (const QString& file : all()) {
        try {
            const QString folder = PathResolver::folderBelow(mods, file.section(u'/', 0, -2));
            found << resolvedForm(PathResolver::entryIn(folder, file.section(u'/', -1)));
        } catch (const Failure&) {
            // A pack or the mod not installed: none of its files can be named.
        }
    }
    return found;
}

QString GameFileNames::resolvedForm(const QString& path)
{
    const QFileInfo file(path);
    return QFileInfo(file.absolutePath()).canonicalFilePath() + u'/' + file.fileName();
}
