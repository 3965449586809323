#include "gui/crosshair/PictureCatalogue.h"

#include "core/crosshair/Catalogue.h"
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
    for (int choice = 1; choice <= Catalogue::count(kind); ++choice) {
        const QString key = Catalogue::pictureKey(kind, choice);
        list.add(key, QImage(resourcePath(key + QStringLiteral(".bmp"))));
    }
    return list;
}

} // namespace

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
