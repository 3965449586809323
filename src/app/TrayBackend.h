#pragma once

#include <QObject>

class QMenu;
struct TrayIconRecord;

// The notification area as the program uses it: add, modify and delete one
// icon, and hear of mouse actions on it as the numbers the main window
// decodes (514 left button up, 515 double click). The icon's menu is shown by
// the tray itself: a StatusNotifierItem host (KDE, GNOME's AppIndicator
// extension) draws it from the menu it is handed, on a right click or, on
// some desktops, on any click.
class TrayBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool available() const = 0;
    // The menu of the icon added next; it must outlive the icon.
    virtual void setMenu(QMenu* menu) = 0;
    virtual void add(const TrayIconRecord& record) = 0;
    virtual void modify(const TrayIconRecord& record) = 0;
    virtual void remove(const TrayIconRecord& record) = 0;
    virtual bool exists() const = 0;

signals:
    void notified(int message);
};
