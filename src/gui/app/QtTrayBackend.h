#pragma once

#include "gui/app/TrayBackend.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>

// The tray layer on QSystemTrayIcon. On a StatusNotifierItem host the icon
// carries the tray menu, which Qt exports over D-Bus for hosts that draw it
// themselves; elsewhere, and when a host asks for the menu, the main window
// pops it up. With no tray at the add, it looks again a few times a minute.
class QtTrayBackend : public TrayBackend {
    Q_OBJECT
public:
    explicit QtTrayBackend(QIcon icon, QObject* parent = nullptr);
    ~QtTrayBackend() override;

    void setMenu(QMenu* menu) override { m_menu = menu; }
    void add(const QString& tip) override;
    void setTip(const QString& tip) override;
    void remove() override;
    bool exists() const override { return m_icon != nullptr; }

private:
    static bool available();
    void activated(QSystemTrayIcon::ActivationReason reason);
    void lookForTray();

    QIcon m_picture;
    QMenu* m_menu = nullptr;
    QTimer m_lookAgain;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
