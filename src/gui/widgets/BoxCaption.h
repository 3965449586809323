#pragma once

#include <QObject>

class QAbstractButton;
class QLabel;
class QMouseEvent;

// The label beside a check box or option button drawn without its own
// caption is what the player reads: a click on it clicks the box, and it
// shows the box's keyboard focus with the style's focus frame.
class BoxCaption : public QObject {
    Q_OBJECT
public:
    static void attach(QLabel& caption, QAbstractButton& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BoxCaption(QLabel& caption, QAbstractButton& box);
    void clickOnRelease(const QMouseEvent& release);
    void drawFocusFrame();

    QLabel& m_caption;
    QAbstractButton& m_box;
};
