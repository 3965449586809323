#include "core/crosshair/Catalogue.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"

#include <QDir>

int Catalogue::count(Kind kind)
{
    return kind == Kind::Crosshair ? crosshairCount : reticleCount;
}

QString Catalogue::pictureKey(Kind kind, int choice)
{
    return (kind == Kind::Crosshair ? QStringLiteral("cr") : QStringLiteral("r"))
           + QString::number(choice);
}

QString Catalogue::archiveSource(Kind kind, const QString& choiceText)
{
    const bool crosshair = kind == Kind::Crosshair;
    const QStringList names{QStringLiteral("cons"),
                            crosshair ? QStringLiteral("cr") : QStringLiteral("rt"), choiceText,
                            crosshair ? QStringLiteral("menu.rfa") : QStringLiteral("game.rfa")};
    bool isNumber = false;
    const int choice = choiceText.toInt(&isNumber);
    if (!isNumber || choice < 1 || choice > count(kind) || choiceText != QString::number(choice))
        throw Failure(FailureNumber::FileNotFound,
                      QDir::toNativeSeparators(QDir::current().filePath(names.join(u'/'))));
    return GamePaths::join(names);
}

GameFileCopy Catalogue::archiveCopy(Kind kind, const QString& choiceText, const QString& modsPath)
{
    const QString install = QStringLiteral("install the Grimtide mod first");
    if (kind == Kind::Crosshair)
        return {archiveSource(kind, choiceText), modsPath,
                QStringLiteral("gtide_base/archives/menu.rfa"), install};
    return {archiveSource(kind, choiceText), modsPath,
            QStringLiteral("gtide_base/archives/bf1942/game.rfa"), install};
}
