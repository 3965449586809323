#include "gui/widgets/Twips.h"

#include <QPushButton>
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

QPushButton* Twips::button(QWidget* parent, const QString& caption, Placement at)
{
    auto* button = new QPushButton(caption, parent);
    place(*button, at.left, at.top, at.width, at.height);
    button->setAutoDefault(false);
    return button;
}
