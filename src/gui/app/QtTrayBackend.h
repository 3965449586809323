#pragma once

#include "core/app/TrayBackend.h"

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

    bool available() const override;
    void setMenu(QMenu* menu) override { m_menu = menu; }
    void add(const TrayIconRecord& record) override;
    void modify(const TrayIconRecord& record) override;
    void remove(const TrayIconRecord& record) override;
    bool exists() const override { return m_icon != nullptr; }

    static int messageFor(QSystemTrayIcon::ActivationReason reason);

private:
    void lookForTray();

    QIcon m_picture;
    QMenu* m_menu = nullptr;
    QTimer m_lookAgain;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
