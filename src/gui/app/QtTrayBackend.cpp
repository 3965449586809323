#include "gui/app/QtTrayBackend.h"

#include "core/app/TrayIconRecord.h"
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

bool QtTrayBackend::available() const
{
    // Qt's check comes second: it must not run before a tray is up.
    return TrayHost::present() && QSystemTrayIcon::isSystemTrayAvailable();
}

int QtTrayBackend::messageFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayIconRecord::leftButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return TrayIconRecord::leftDoubleClick;
    case QSystemTrayIcon::Context:
        return TrayIconRecord::rightButtonUp;
    default:
        return 0;
    }
}

void QtTrayBackend::add(const TrayIconRecord& record)
{
    if (m_icon)
        return;
    if (!available()) {
        m_lookAgain.start();
        return;
    }
    m_lookAgain.stop();
    m_icon = std::make_unique<QSystemTrayIcon>(m_picture);
    connect(
        m_icon.get(), &QSystemTrayIcon::activated, this,
        [this](QSystemTrayIcon::ActivationReason reason) { emit notified(messageFor(reason)); });
    // Only for a StatusNotifierItem: an X11 or Windows tray icon with a menu
    // would pop it up itself on a right click, beside the main window's own.
    if (TrayHost::hasStatusNotifierHost())
        m_icon->setContextMenu(m_menu);
    m_icon->setToolTip(record.tip());
    m_icon->show();
}

void QtTrayBackend::modify(const TrayIconRecord& record)
{
    if (m_icon)
        m_icon->setToolTip(record.tip());
}

void QtTrayBackend::remove(const TrayIconRecord&)
{
    m_lookAgain.stop();
    m_icon.reset();
}

void QtTrayBackend::lookForTray()
{
    if (!available())
        return;
    m_lookAgain.stop();
    emit appeared();
}
