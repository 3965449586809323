#pragma once

#include "core/common/MessageSink.h"

#include <QMap>
#include <QString>

#include <functional>
#include <optional>

// The one way every command reports a failure: its body runs inside a trap,
// and a Failure thrown anywhere in it ends the body with one message. Its
// first line is the report (or the plainer text); below it, one sentence says
// what failed and where (FailureText).
class ErrorReport {
public:
    explicit ErrorReport(MessageSink& sink) : m_sink(sink) {}

    static QString text(const QString& tag, int number);

    // A failure the player can mend is told in plain words instead of the
    // report.
    struct PlainerMessage {
        int number;
        QString text;
    };

    // A failure the player can mend from its message gets a button for it.
    void offer(int number, MessageSink::Offer offer) { m_offers.insert(number, std::move(offer)); }

    // Runs the body; returns false when it failed and was reported.
    bool trap(const QString& tag, const std::function<void()>& body,
              const std::optional<PlainerMessage>& plainer = std::nullopt) const;

private:
    MessageSink& m_sink;
    QMap<int, MessageSink::Offer> m_offers;
};
