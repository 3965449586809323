#pragma once

#include "gui/widgets/ImageList.h"

#include <QIcon>
#include <QImage>

// The pictures drawn at build time and linked in as resources under ":/pictures/".
class PictureCatalogue {
public:
    static ImageList crosshairPictures();
    static ImageList reticlePictures();
    static QImage lampPicture(bool green);
    // Each size is read the first time it is asked for.
    static QIcon programIcon();
};
