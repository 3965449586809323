#pragma once

#include <QRect>

#include <utility>
#include <vector>

class QLabel;
class QMenuBar;
class QPushButton;
class QString;
class QWidget;

// A window's layout in twips, 1440 to the inch: at scale 1, 15 twips a pixel
// at 96 dots per inch, more pixels on a screen with a higher logical DPI.
// The layouts leave room for their captions in a narrow 8-point sans serif;
// where the font in use is wider, fitCaptions() scales the whole window, as
// Windows scales a dialog to its font, until every caption shows whole.
class Twips {
public:
    struct Placement {
        int left, top, width, height;
    };

    explicit Twips(const QWidget& window);

    int pixels(int twips) const;
    QSize size(int width, int height) const;
    QRect rect(Placement at) const;

    // Places the control now, and again at the scale fitCaptions() picks.
    void place(QWidget& control, Placement at);
    // A push button that Enter never presses (Space does, when it has the
    // focus): no dialog takes it for its default button.
    QPushButton* button(QWidget* parent, const QString& caption, Placement at);
    // The bar's titles must all stand on it in a window this many twips wide.
    void keepTitlesOn(const QMenuBar& bar, int windowWidth);
    // Once, with the captions set and before a control takes the size of
    // its picture: the smallest scale at which every caption fits.
    void fitCaptions();

private:
    double overflow(const QWidget& control) const;
    double labelOverflow(const QLabel& label) const;
    double worstOverflow() const;

    double m_dotsPerTwip;
    double m_scale = 1;
    std::vector<std::pair<QWidget*, Placement>> m_placed;
    const QMenuBar* m_menuBar = nullptr;
    int m_windowWidth = 0;
};
