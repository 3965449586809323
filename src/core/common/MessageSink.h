#pragma once

class QString;

// Where commands send their messages: a message box in the program, a
// recorder in the tests.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    // Shows the text with a single OK button and returns once it is closed.
    virtual void show(const QString& text) = 0;
};
