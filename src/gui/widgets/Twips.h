#pragma once

#include <QRect>

class QPushButton;
class QString;
class QWidget;

// Window layouts are given in twips, 1440 to the inch: 15 twips a pixel at
// 96 dots per inch, more pixels on a screen with a higher logical DPI.
namespace Twips {
int toPixels(int twips, int dotsPerInch);
void place(QWidget& widget, int left, int top, int width, int height);
QSize size(const QWidget& onScreenOf, int width, int height);

struct Placement {
    int left, top, width, height;
};
// A push button placed in twips that Enter never presses (Space does, when
// it has the focus): no dialog takes it for its default button.
QPushButton* button(QWidget* parent, const QString& caption, Placement at);
} // namespace Twips
