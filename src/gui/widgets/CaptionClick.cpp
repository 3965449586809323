#include "gui/widgets/CaptionClick.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMouseEvent>

void CaptionClick::attach(QLabel& caption, QAbstractButton& box)
{
    caption.installEventFilter(new CaptionClick(caption, box));
}

CaptionClick::CaptionClick(QLabel& caption, QAbstractButton& box) : QObject(&caption), m_box(box) {}

bool CaptionClick::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return QObject::eventFilter(watched, event);
    const auto* release = static_cast<QMouseEvent*>(event);
    const auto* caption = static_cast<QLabel*>(watched);
    const bool onCaption = caption->rect().contains(release->position().toPoint());
    // An option button that is on already stays as it is.
    const bool optionAlreadyOn = m_box.autoExclusive() && m_box.isChecked();
    if (release->button() == Qt::LeftButton && onCaption && !optionAlreadyOn)
        m_box.click();
    return false;
}
