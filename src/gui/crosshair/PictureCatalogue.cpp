#include "gui/crosshair/PictureCatalogue.h"

#include "gui/widgets/FileIconEngine.h"

#include <QString>

namespace {

QString resourcePath(const QString& name)
{
    return QStringLiteral(":/pictures/") + name;
}

ImageList numberedPictures(Catalogue::Kind kind, QSize imageSize)
{
    ImageList list(imageSize);
    for (int choice = 1; choice <= Catalogue::count(kind); ++choice)
        list.add(Catalogue::pictureKey(kind, choice), PictureCatalogue::picture(kind, choice));
    return list;
}

} // namespace

QImage PictureCatalogue::picture(Catalogue::Kind kind, int choice)
{
    return QImage(resourcePath(Catalogue::pictureKey(kind, choice) + QStringLiteral(".bmp")));
}

ImageList PictureCatalogue::crosshairPictures()
{
    return numberedPictures(Catalogue::Kind::Crosshair, {92, 34});
}

ImageList PictureCatalogue::reticlePictures()
{
    return numberedPictures(Catalogue::Kind::Reticle, {98, 38});
}

QImage PictureCatalogue::lampPicture(bool green)
{
    return QImage(
        resourcePath(green ? QStringLiteral("lamp_green.bmp") : QStringLiteral("lamp_red.bmp")));
}

QIcon PictureCatalogue::programIcon()
{
    return QIcon(
        new FileIconEngine(resourcePath(QStringLiteral("icon%1.png")), {16, 32, 48, 64, 128}));
}
