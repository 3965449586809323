#pragma once

#include <QList>
#include <QWidget>

class QLabel;

// A window of the main window's kind and size, built with plain Qt: its menu
// bar with two commands, its thirteen captions, three check boxes and two
// option buttons named by the captions beside them, and two picture boxes
// showing a crosshair and a reticle. It also keeps a tray menu, as the main
// window does.
class FloorWindow : public QWidget {
public:
    FloorWindow(const QIcon& icon, QSize size);

private:
    void addMenus();
    void addCaptions();
    void addBoxes();
    void addPictures();
    template <typename Box> void addBox(int caption, QRect at);
    void addPicture(int caption, const QString& picture, QRect at);
    // Places a control below the menu bar.
    void place(QWidget& control, QRect at) const;

    int m_menuHeight = 0;
    QList<QLabel*> m_captions;
};
