#pragma once

#include "gui/app/TrayBackend.h"

#include <QStringList>

// A notification area that keeps what it was told: the tip and each call.
class FakeTray : public TrayBackend {
public:
    bool isAvailable = true;
    bool shown = false;
    QString tip;
    QStringList operations;

    void setMenu(QMenu*) override {}
    void add(const QString& newTip) override { told(u"add"_qs, newTip), shown = isAvailable; }
    void setTip(const QString& newTip) override { told(u"setTip"_qs, newTip); }
    void remove() override { told(u"remove"_qs, tip), shown = false; }
    bool exists() const override { return shown; }
    void told(const QString& operation, const QString& newTip)
    {
        operations << operation, tip = newTip;
    }
};
