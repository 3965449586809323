#pragma once

#include "gui/app/TrayBackend.h"

class QMenu;
class QWidget;
struct SettingsRecord;

// The main window's tray icon: its tip names the mode when it is added, a
// click on it brings the window back and a right click pops up the tray
// menu. A minimized window is hidden, but only while there is an icon to
// bring it back by.
class MainWindowTray : public QObject {
    Q_OBJECT
public:
    MainWindowTray(QWidget& window, QMenu& menu, TrayBackend& tray, const SettingsRecord& settings);

    // Also when a tray comes up after the load, with the mode at that moment.
    void addIcon();
    void setTip(const QString& tip) { m_tray.setTip(tip); }
    void removeIcon() { m_tray.remove(); }
    // Shows the window in front, from the tray or the task bar.
    void restoreWindow();

protected:
    bool eventFilter(QObject* window, QEvent* event) override;

private:
    void hideIfStillMinimized();
    void popUpMenu();

    QWidget& m_window;
    QMenu& m_menu;
    TrayBackend& m_tray;
    const SettingsRecord& m_settings;
};
