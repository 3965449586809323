#pragma once

#include <QString>

#include <functional>
#include <optional>

class MessageSink;

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

    // Runs the body; returns false when it failed and was reported.
    bool trap(const QString& tag, const std::function<void()>& body,
              const std::optional<PlainerMessage>& plainer = std::nullopt) const;

private:
    MessageSink& m_sink;
};
