#pragma once

#include "core/app/TrayBackend.h"

#include <QIcon>
#include <QSystemTrayIcon>

#include <memory>

// The tray layer on QSystemTrayIcon. Its menu is popped up by the main window
// itself, so no context menu is set here.
class QtTrayBackend : public TrayBackend {
    Q_OBJECT
public:
    explicit QtTrayBackend(QIcon icon, QObject* parent = nullptr);
    ~QtTrayBackend() override;

    bool available() const override;
    void add(const TrayIconRecord& record) override;
    void modify(const TrayIconRecord& record) override;
    void remove(const TrayIconRecord& record) override;
    bool exists() const override { return m_icon != nullptr; }

    static int messageFor(QSystemTrayIcon::ActivationReason reason);

private:
    QIcon m_picture;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
