#include "core/crosshair/Catalogue.h"

#include "core/common/Failure.h"
#include "core/common/FileCopier.h"
#include "core/common/GamePaths.h"

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
    bool isNumber = false;
    const int choice = choiceText.toInt(&isNumber);
    if (!isNumber || choice < 1 || choice > count(kind) || choiceText != QString::number(choice))
        throw Failure(FailureNumber::FileNotFound);
    const bool crosshair = kind == Kind::Crosshair;
    return GamePaths::join({QStringLiteral("cons"),
                            crosshair ? QStringLiteral("cr") : QStringLiteral("rt"),
                            QString::number(choice),
                            crosshair ? QStringLiteral("menu.rfa") : QStringLiteral("game.rfa")});
}

QString Catalogue::archiveDestination(Kind kind, const QString& modsPath)
{
    if (kind == Kind::Crosshair)
        return modsPath
               + GamePaths::join({QStringLiteral("gtide_base"), QStringLiteral("archives"),
                                  QStringLiteral("menu.rfa")});
    return modsPath
           + GamePaths::join({QStringLiteral("gtide_base"), QStringLiteral("archives"),
                              QStringLiteral("bf1942"), QStringLiteral("game.rfa")});
}

void Catalogue::installArchive(FileCopier& copier, Kind kind, const QString& choiceText,
                               const QString& modsPath)
{
    copier.copy(archiveSource(kind, choiceText), archiveDestination(kind, modsPath));
}
