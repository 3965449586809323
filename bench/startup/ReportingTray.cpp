#include "startup/ReportingTray.h"

ReportingTray::ReportingTray(TrayBackend& real, std::function<void()> added)
    : m_real(real), m_added(std::move(added))
{
    connect(&m_real, &TrayBackend::restoreRequested, this, &TrayBackend::restoreRequested);
    connect(&m_real, &TrayBackend::menuRequested, this, &TrayBackend::menuRequested);
    connect(&m_real, &TrayBackend::appeared, this, &TrayBackend::appeared);
}

void ReportingTray::add(const QString& tip)
{
    m_real.add(tip);
    m_added();
}
