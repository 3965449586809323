#include "gui/widgets/BoxCaption.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

void BoxCaption::attach(QLabel& caption, QAbstractButton& box)
{
    auto* boxCaption = new BoxCaption(caption, box);
    caption.installEventFilter(boxCaption);
    box.installEventFilter(boxCaption);
}

BoxCaption::BoxCaption(QLabel& caption, QAbstractButton& box)
    : QObject(&caption), m_caption(caption), m_box(box)
{
}

bool BoxCaption::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_box) {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_caption.update();
    } else if (event->type() == QEvent::MouseButtonRelease) {
        clickOnRelease(*static_cast<QMouseEvent*>(event));
    } else if (event->type() == QEvent::Paint) {
        // Under the caption's text, which the label paints next.
        drawFocusFrame();
    }
    return false;
}

void BoxCaption::clickOnRelease(const QMouseEvent& release)
{
    const bool onCaption = m_caption.rect().contains(release.position().toPoint());
    // An option button that is on already stays as it is.
    const bool optionAlreadyOn = m_box.autoExclusive() && m_box.isChecked();
    if (release.button() == Qt::LeftButton && onCaption && !optionAlreadyOn)
        m_box.click();
}

void BoxCaption::drawFocusFrame()
{
    if (!m_box.hasFocus())
        return;
    // The box's state, so that the style shows the frame when the box
    // would show one: many do only after the keyboard moved the focus.
    QStyleOptionFocusRect frame;
    frame.initFrom(&m_box);
    const QRect text =
        m_caption.style()->itemTextRect(m_caption.fontMetrics(), m_caption.contentsRect(),
                                        int(m_caption.alignment()), true, m_caption.text());
    frame.rect = text.adjusted(-1, 0, 1, 0) & m_caption.rect();
    frame.backgroundColor = m_caption.palette().color(m_caption.backgroundRole());
    QPainter painter(&m_caption);
    m_caption.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, &m_caption);
}
