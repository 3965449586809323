#pragma once

#include "core/common/MessageSink.h"

#include <QStringList>

// Keeps the messages shown instead of opening boxes, and the captions of the buttons offered.
class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override { messages.append(text); }
    void showWithOffer(const QString& text, const Offer& offer) override
    {
        messages.append(text);
        offers.append(offer.caption);
    }
    QStringList messages;
    QStringList offers;
};
