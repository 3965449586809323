#pragma once

#include "core/app/TrayBackend.h"

#include <functional>

// The real tray, passed through, that calls back once the icon is added: the
// last step of the main window's load.
class ReportingTray : public TrayBackend {
public:
    ReportingTray(TrayBackend& real, std::function<void()> added);

    bool available() const override { return m_real.available(); }
    void add(const TrayIconRecord& record) override;
    void modify(const TrayIconRecord& record) override { m_real.modify(record); }
    void remove(const TrayIconRecord& record) override { m_real.remove(record); }
    bool exists() const override { return m_real.exists(); }
    void setMenu(QMenu* menu) override { m_real.setMenu(menu); }

private:
    TrayBackend& m_real;
    std::function<void()> m_added;
};
