#pragma once

#include "core/platform/TrayHost.h"
#include "gui/app/TrayBackend.h"

#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>

#include <memory>
#include <optional>

// The tray layer on QSystemTrayIcon. On a StatusNotifierItem host the icon
// carries the tray menu, which Qt exports over D-Bus for hosts that draw it
// themselves; elsewhere, and when a host asks for the menu, the main window
// pops it up. Whether a tray is up is asked off the window thread, so that
// a frozen session bus never freezes a window; with no tray at the add, it
// asks again a few times a minute.
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
    void activated(QSystemTrayIcon::ActivationReason reason);
    void lookForTray();
    void answered(const TrayHost::Answer& answer);
    void show(const QString& tip, bool ownMenu);

    QIcon m_picture;
    QMenu* m_menu = nullptr;
    QTimer m_lookAgain;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    void* m_x11 = nullptr; // the program's own, none on Wayland
    bool m_wanted = false; // from an add to the removal
    bool m_asking = false;
    std::optional<TrayHost::Answer> m_found; // for the add that a found tray calls
};
