#pragma once

#include <QObject>

class QMenu;
struct TrayIconRecord;

// The notification area as the program uses it: add, modify and delete one
// icon, and hear of mouse actions on it as the numbers the main window
// decodes (514 left button up, 515 double click, 517 right button up).
class TrayBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool available() const = 0;
    // The tray menu, for a tray that draws an icon's menu itself; it must
    // outlive the icon.
    virtual void setMenu(QMenu* menu) = 0;
    // With no tray there, nothing is shown and appeared() follows once a
    // tray comes up.
    virtual void add(const TrayIconRecord& record) = 0;
    virtual void modify(const TrayIconRecord& record) = 0;
    virtual void remove(const TrayIconRecord& record) = 0;
    virtual bool exists() const = 0;

signals:
    void notified(int message);
    void appeared();
};
