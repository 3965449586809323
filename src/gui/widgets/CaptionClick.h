#pragma once

#include <QObject>

class QAbstractButton;
class QLabel;

// The label beside a check box or option button drawn without its own
// caption is what the player reads, so a click on it clicks the box.
class CaptionClick : public QObject {
    Q_OBJECT
public:
    static void attach(QLabel& caption, QAbstractButton& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CaptionClick(QLabel& caption, QAbstractButton& box);

    QAbstractButton& m_box;
};
