#include "gui/app/MainWindowTray.h"

#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsValues.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QWidget>

MainWindowTray::MainWindowTray(QWidget& window, QMenu& menu, TrayBackend& tray,
                               const SettingsRecord& settings)
    : QObject(&window), m_window(window), m_menu(menu), m_tray(tray), m_settings(settings)
{
    m_window.installEventFilter(this);
    m_tray.setMenu(&m_menu);
    connect(&m_tray, &TrayBackend::restoreRequested, this, &MainWindowTray::restoreWindow);
    connect(&m_tray, &TrayBackend::menuRequested, this, &MainWindowTray::popUpMenu);
    connect(&m_tray, &TrayBackend::appeared, this, &MainWindowTray::addIcon);
}

void MainWindowTray::addIcon()
{
    m_tray.add(SettingsValues::isPure(m_settings.status) ? QStringLiteral("pure")
                                                         : QStringLiteral("unpure"));
}

void MainWindowTray::restoreWindow()
{
    // A Wayland compositor neither lets a program take its window back from
    // a minimize nor tells it of one; a window shown afresh comes back.
    if (QGuiApplication::platformName() == QStringLiteral("wayland"))
        m_window.hide();
    m_window.setWindowState(m_window.windowState() & ~Qt::WindowMinimized);
    m_window.show();
    m_window.raise();
    m_window.activateWindow();
}

bool MainWindowTray::eventFilter(QObject*, QEvent* event)
{
    // The hide waits for the event loop, because showMinimized() shows the
    // window again right after this event.
    if (event->type() == QEvent::WindowStateChange && m_window.isMinimized() && m_tray.exists())
        QMetaObject::invokeMethod(this, &MainWindowTray::hideIfStillMinimized,
                                  Qt::QueuedConnection);
    return false;
}

void MainWindowTray::hideIfStillMinimized()
{
    if (m_window.isMinimized())
        m_window.hide();
}

void MainWindowTray::popUpMenu()
{
    m_window.raise();
    m_window.activateWindow();
    m_menu.exec(QCursor::pos());
}
