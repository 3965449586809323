#include "gui/crosshair/PictureCatalogue.h"

#include <QString>

namespace {

QString resourcePath(const QString& name)
{
    return QStringLiteral(":/pictures/") + name;
}

ImageList numberedPictures(const QString& prefix, int count, QSize imageSize)
{
    ImageList list(imageSize);
    for (int number = 1; number <= count; ++number) {
        const QString key = prefix + QString::number(number);
        list.add(key, QImage(resourcePath(key + QStringLiteral(".bmp"))));
    }
    return list;
}

} // namespace

ImageList PictureCatalogue::crosshairPictures()
{
    return numberedPictures(QStringLiteral("cr"), 20, {92, 34});
}

ImageList PictureCatalogue::reticlePictures()
{
    return numberedPictures(QStringLiteral("r"), 3, {98, 38});
}

QImage PictureCatalogue::lampPicture(bool green)
{
    return QImage(resourcePath(green ? QStringLiteral("lamp_green.bmp") : QStringLiteral("lamp_red.bmp")));
}

QIcon PictureCatalogue::programIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addFile(resourcePath(QStringLiteral("icon%1.png").arg(size)), QSize(size, size));
    return icon;
}
