#pragma once

#include "core/common/MessageSink.h"

#include <QString>

#include <functional>

// The sink the commands show their messages through, in front of the real
// one: a listener may hear the next message before it is shown, so that the
// answer to another copy's request goes out before a box waits for its OK.
class MessageRelay : public MessageSink {
public:
    using Listener = std::function<void(const QString& text)>;

    explicit MessageRelay(MessageSink& sink) : m_sink(sink) {}

    // Hears the next message only; an empty listener stops listening.
    void hearNext(Listener listener) { m_listener = std::move(listener); }

    void show(const QString& text) override;
    void showWithOffer(const QString& text, const Offer& offer) override;

private:
    void tell(const QString& text);

    MessageSink& m_sink;
    Listener m_listener;
};
