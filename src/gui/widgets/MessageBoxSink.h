#pragma once

#include "core/common/MessageSink.h"

// Messages as the player sees them: a modal box with a single OK button, no
// icon and the program's title.
class MessageBoxSink : public MessageSink {
public:
    void show(const QString& text) override;
};
