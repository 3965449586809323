#include "gui/widgets/Twips.h"

#include <QWidget>

#include <cmath>

int Twips::toPixels(int twips, int dotsPerInch)
{
    return int(std::lround(double(twips) * dotsPerInch / 1440.0));
}

void Twips::place(QWidget& widget, int left, int top, int width, int height)
{
    const int dpi = widget.logicalDpiX();
    widget.setGeometry(toPixels(left, dpi), toPixels(top, dpi), toPixels(width, dpi),
                       toPixels(height, dpi));
}

QSize Twips::size(const QWidget& onScreenOf, int width, int height)
{
    const int dpi = onScreenOf.logicalDpiX();
    return {toPixels(width, dpi), toPixels(height, dpi)};
}
