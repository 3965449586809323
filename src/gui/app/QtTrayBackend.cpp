#include "gui/app/QtTrayBackend.h"

#include <QGuiApplication>
#include <QPointer>
#include <QThreadPool>

namespace {

constexpr int lookAgainMs = 5000;

} // namespace

QtTrayBackend::QtTrayBackend(QIcon icon, QObject* parent)
    : TrayBackend(parent), m_picture(std::move(icon))
{
#if QT_CONFIG(xcb)
    if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
        m_x11 = x11->connection();
#endif
    m_lookAgain.setInterval(lookAgainMs);
    connect(&m_lookAgain, &QTimer::timeout, this, &QtTrayBackend::lookForTray);
}

QtTrayBackend::~QtTrayBackend() = default;

void QtTrayBackend::add(const QString& tip)
{
    if (m_icon)
        return;
    m_wanted = true;
    if (m_found)
        show(tip, m_found->statusNotifierHost);
    else
        lookForTray();
}

void QtTrayBackend::show(const QString& tip, bool ownMenu)
{
    m_icon = std::make_unique<QSystemTrayIcon>(m_picture);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &QtTrayBackend::activated);
    // Only for a StatusNotifierItem: an X11 or Windows tray icon with a menu
    // would pop it up itself on a right click, beside the main window's own.
    if (ownMenu)
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
    m_wanted = false;
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
    if (m_asking)
        return;
    m_asking = true;
    // On a thread of Qt's pool, its answer back through the event loop to a
    // backend that still lives. Not QtConcurrent: its futures cost the
    // program 64 KiB more at every start (scripts/bench's idle memory).
    QThreadPool::globalInstance()->start([guard = QPointer(this), x11 = m_x11] {
        const TrayHost::Answer answer = TrayHost::ask(x11);
        QMetaObject::invokeMethod(
            qApp,
            [guard, answer] {
                if (guard)
                    guard->answered(answer);
            },
            Qt::QueuedConnection);
    });
}

void QtTrayBackend::answered(const TrayHost::Answer& answer)
{
    m_asking = false;
    if (!m_wanted || m_icon)
        return;
    // Qt's check comes second: it must not run before a tray is up.
    if (!answer.present || !QSystemTrayIcon::isSystemTrayAvailable()) {
        m_lookAgain.start();
        return;
    }
    m_lookAgain.stop();
    // The icon is added as of now, with the tip of the mode now.
    m_found = answer;
    emit appeared();
    m_found.reset();
}
