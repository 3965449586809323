#pragma once

#include "core/app/TrayBackend.h"
#include "core/app/TrayIconRecord.h"

#include <QStringList>

// A notification area that keeps what it was told: the tip and each call.
class FakeTray : public TrayBackend {
public:
    bool isAvailable = true;
    bool shown = false;
    QString tip;
    QStringList operations;

    bool available() const override { return isAvailable; }
    void setMenu(QMenu*) override {}
    void add(const TrayIconRecord& record) override
    {
        told(QStringLiteral("add"), record.tip());
        shown = isAvailable;
    }
    void modify(const TrayIconRecord& record) override
    {
        told(QStringLiteral("modify"), record.tip());
    }
    void remove(const TrayIconRecord&) override
    {
        told(QStringLiteral("delete"), tip);
        shown = false;
    }
    bool exists() const override { return shown; }
    void send(int message) { emit notified(message); }
    void appear()
    {
        isAvailable = true;
        emit appeared();
    }

private:
    void told(const QString& operation, const QString& newTip)
    {
        operations.append(operation);
        tip = newTip;
    }
};
