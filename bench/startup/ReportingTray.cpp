#include "startup/ReportingTray.h"

ReportingTray::ReportingTray(TrayBackend& real, std::function<void()> added)
    : m_real(real), m_added(std::move(added))
{
    connect(&m_real, &TrayBackend::notified, this, &TrayBackend::notified);
    connect(&m_real, &TrayBackend::appeared, this, &TrayBackend::appeared);
}

void ReportingTray::add(const TrayIconRecord& record)
{
    m_real.add(record);
    m_added();
}
