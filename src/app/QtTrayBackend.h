#pragma once

#include "app/TrayBackend.h"

#include <QIcon>
#include <QSystemTrayIcon>

#include <memory>

// The tray layer on QSystemTrayIcon. The menu is its context menu, so that Qt
// pops it up on a right click and exports it to a StatusNotifierItem host.
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
    QIcon m_picture;
    QMenu* m_menu = nullptr;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
