#pragma once

#include <QObject>

class QMenu;
class QString;

// The notification area as the program uses it: one icon with a tip, and the
// player's requests through it.
class TrayBackend : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The tray menu, for a tray that draws an icon's menu itself; it must
    // outlive the icon.
    virtual void setMenu(QMenu* menu) = 0;
    // Where no tray is known to be up, nothing is shown yet and appeared()
    // follows once one is found.
    virtual void add(const QString& tip) = 0;
    virtual void setTip(const QString& tip) = 0;
    virtual void remove() = 0;
    virtual bool exists() const = 0;

signals:
    // A click or double click on the icon.
    void restoreRequested();
    // A right click, or a tray's own request for the menu.
    void menuRequested();
    void appeared();
};
