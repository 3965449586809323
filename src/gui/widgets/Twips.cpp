#include "gui/widgets/Twips.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr double twipsPerInch = 1440;
constexpr int mostRounds = 8;
// A text's advance ends in its last letter's side bearing, which is blank:
// the layouts let that pixel fall on the edge of the box.
constexpr int blankAfterText = 1;
// A control beside a caption, on its line, keeps this many pixels clear of it.
constexpr int clearOfText = 2;

double ratio(int needed, int room)
{
    return double(needed) / std::max(room, 1);
}

double buttonOverflow(const QPushButton& button)
{
    QStyleOptionButton option;
    option.initFrom(&button);
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return ratio(button.fontMetrics().horizontalAdvance(button.text()) - blankAfterText,
                 room.width());
}

} // namespace

Twips::Twips(const QWidget& window) : m_dotsPerTwip(window.logicalDpiX() / twipsPerInch) {}

int Twips::pixels(int twips) const
{
    return int(std::lround(twips * m_dotsPerTwip * m_scale));
}

QSize Twips::size(int width, int height) const
{
    return {pixels(width), pixels(height)};
}

QRect Twips::rect(Placement at) const
{
    return {pixels(at.left), pixels(at.top), pixels(at.width), pixels(at.height)};
}

void Twips::place(QWidget& control, Placement at)
{
    control.setGeometry(rect(at));
    m_placed.emplace_back(&control, at);
}

QPushButton* Twips::button(QWidget* parent, const QString& caption, Placement at)
{
    auto* button = new QPushButton(caption, parent);
    place(*button, at);
    button->setAutoDefault(false);
    return button;
}

void Twips::keepTitlesOn(const QMenuBar& bar, int windowWidth)
{
    m_menuBar = &bar;
    m_windowWidth = windowWidth;
}

void Twips::fitCaptions()
{
    // A caption's room grows with the scale less its control's margins, so
    // a round may leave it a pixel short.
    for (int round = 0; round < mostRounds; ++round) {
        const double worst = worstOverflow();
        if (worst <= 1)
            return;
        m_scale *= worst;
        for (const auto& [control, at] : m_placed)
            control->setGeometry(rect(at));
    }
}

// How much larger the control must grow for its caption to show whole: at
// most 1 where it does, 0 for a control without a caption.
double Twips::overflow(const QWidget& control) const
{
    if (const auto* label = qobject_cast<const QLabel*>(&control);
        label && !label->text().isEmpty()) {
        if (label->wordWrap())
            return ratio(label->heightForWidth(label->width()), label->height());
        return labelOverflow(*label);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&control);
        button && !button->text().isEmpty())
        return buttonOverflow(*button);
    return 0;
}

// The text may end on its box's edge with its blank last pixel, but keeps
// clear of a control beside it on its line: a lamp, a box, another caption.
double Twips::labelOverflow(const QLabel& label) const
{
    const int advance = label.fontMetrics().horizontalAdvance(label.text());
    const QRect box = label.geometry();
    double worst = ratio(advance - blankAfterText, label.contentsRect().width());
    for (const auto& [control, at] : m_placed) {
        const QRect beside = control->geometry();
        if (control->parentWidget() == label.parentWidget() && beside.left() > box.left()
            && beside.top() <= box.center().y() && box.center().y() <= beside.bottom())
            worst = std::max(worst, ratio(advance + clearOfText, beside.left() - box.left()));
    }
    return worst;
}

double Twips::worstOverflow() const
{
    double worst = m_menuBar ? ratio(m_menuBar->sizeHint().width(), pixels(m_windowWidth)) : 0;
    for (const auto& [control, at] : m_placed)
        worst = std::max(worst, overflow(*control));
    return worst;
}
