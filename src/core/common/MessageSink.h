#pragma once

#include <QString>

#include <functional>

// Where commands send their messages: a message box in the program, a
// recorder in the tests.
class MessageSink {
public:
    // Something the player may do about a message, offered beside its OK.
    struct Offer {
        QString caption;
        std::function<void()> act;
    };

    virtual ~MessageSink() = default;
    // Shows the text with a single OK button and returns once it is closed.
    virtual void show(const QString& text) = 0;
    // The same with the offer's button too; when the box was closed by it,
    // the offer is acted on before this returns. A sink without buttons
    // shows the text alone.
    virtual void showWithOffer(const QString& text, const Offer& offer)
    {
        static_cast<void>(offer);
        show(text);
    }
};
