#include "gui/app/QtTrayBackend.h"

#include "core/platform/TrayHost.h"

namespace {

constexpr int lookAgainMs = 5000;

} // namespace

QtTrayBackend::QtTrayBackend(QIcon icon, QObject* parent)
    : TrayBackend(parent), m_picture(std::move(icon))
{
    m_lookAgain.setInterval(lookAgainMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &QtTrayBackend::lookForTray);
}

QtTrayBackend::~QtTrayBackend() = default;

bool QtTrayBackend::available()
{
    // Qt's check comes second: it must not run before a tray is up.
    return TrayHost::present() && QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayBackend::add(const QString& tip)
{
    if (m_icon)
        return;
    if (!available()) {
        m_lookAgain.start();
        return;
    }
    m_lookAgain.stop();
    m_icon = std::make_unique<QSystemTrayIcon>(m_picture);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &QtTrayBackend::activated);
    // Only for a StatusNotifierItem: an X11 or Windows tray icon with a menu
    // would pop it up itself on a right click, beside the main window's own.
    if (TrayHost::hasStatusNotifierHost())
        m_icon->setContextMenu(m_menu);
    m_icon->setToolTip(tip);
    m_icon->show();
}

void QtTrayBackend::setTip(const QString& tip)
{
    if (m_icon)
        m_icon->setToolTip(tip);
}

void QtTrayBackend::remove()
{
    m_lookAgain.stop();
    m_icon.reset();
}

void QtTrayBackend::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
        emit restoreRequested();
    else if (reason == QSystemTrayIcon::Context)
        emit menuRequested();
}

void QtTrayBackend::lookForTray()
{
    if (!available())
        return;
    m_lookAgain.stop();
    emit appeared();
}
