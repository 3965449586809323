#pragma once

#include <QString>

#include <functional>

class MessageSink;

// The one way every command reports a failure: its body runs inside a trap,
// and a Failure thrown anywhere in it ends the body with one message.
class ErrorReport {
public:
    explicit ErrorReport(MessageSink& sink) : m_sink(sink) {}

    static QString text(const QString& tag, int number);

    // Given the failure number, shows a plainer message instead of the report
    // and returns true, or returns false to let the report be shown.
    using PlainerMessage = std::function<bool(int number)>;

    // Runs the body; returns false when it failed and was reported.
    bool trap(const QString& tag, const std::function<void()>& body,
              const PlainerMessage& plainer = {}) const;

    MessageSink& sink() const { return m_sink; }

private:
    MessageSink& m_sink;
};
