#include "gui/app/QtTrayBackend.h"

#include "core/app/TrayIconRecord.h"

QtTrayBackend::QtTrayBackend(QIcon icon, QObject* parent)
    : TrayBackend(parent), m_picture(std::move(icon))
{
}

QtTrayBackend::~QtTrayBackend() = default;

bool QtTrayBackend::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
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
    if (m_icon || !available())
        return;
    m_icon = std::make_unique<QSystemTrayIcon>(m_picture);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { emit notified(messageFor(reason)); });
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
    m_icon.reset();
}
