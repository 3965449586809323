#pragma once

#include "core/crosshair/Catalogue.h"
#include "gui/widgets/ImageList.h"

#include <QIcon>
#include <QImage>

// The pictures drawn at build time and linked in as resources under ":/pictures/".
class PictureCatalogue {
public:
    // The picture of one choice, read alone: the main window shows two of them.
    static QImage picture(Catalogue::Kind kind, int choice);
    static ImageList crosshairPictures();
    static ImageList reticlePictures();
    static QImage lampPicture(bool green);
    // Each size is read the first time it is asked for.
    static QIcon programIcon();
};
