#pragma once

#include "gui/app/TrayBackend.h"

#include <functional>

// The real tray, passed through, that calls back once the icon is added: the
// last step of the main window's load.
class ReportingTray : public TrayBackend {
public:
    ReportingTray(TrayBackend& real, std::function<void()> added);

    void add(const QString& tip) override;
    void setTip(const QString& tip) override { m_real.setTip(tip); }
    void remove() override { m_real.remove(); }
    bool exists() const override { return m_real.exists(); }
    void setMenu(QMenu* menu) override { m_real.setMenu(menu); }

private:
    TrayBackend& m_real;
    std::function<void()> m_added;
};
