#pragma once

#include "core/app/TrayBackend.h"
#include "core/app/TrayIconRecord.h"

#include <QStringList>

// A notification area that keeps what it was told.
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
        operations.append(QStringLiteral("add"));
        shown = isAvailable;
        tip = record.tip();
    }
    void modify(const TrayIconRecord& record) override
    {
        operations.append(QStringLiteral("modify"));
        tip = record.tip();
    }
    void remove(const TrayIconRecord&) override
    {
        operations.append(QStringLiteral("delete"));
        shown = false;
    }
    bool exists() const override { return shown; }
    void send(int message) { emit notified(message); }
    void appear()
    {
        isAvailable = true;
        emit appeared();
    }
};
