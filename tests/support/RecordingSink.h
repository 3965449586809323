#pragma once

#include "core/common/MessageSink.h"

#include <QStringList>

// Keeps the messages a command shows instead of opening boxes.
class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override { messages.append(text); }
    QStringList messages;
};
