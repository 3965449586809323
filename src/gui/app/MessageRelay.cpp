#include "gui/app/MessageRelay.h"

#include <utility>

void MessageRelay::show(const QString& text)
{
    tell(text);
    m_sink.show(text);
}

void MessageRelay::showWithOffer(const QString& text, const Offer& offer)
{
    tell(text);
    m_sink.showWithOffer(text, offer);
}

void MessageRelay::tell(const QString& text)
{
    if (const Listener listener = std::exchange(m_listener, {}))
        listener(text);
}
