#pragma once

#include "core/common/MessageSink.h"

#include <QString>

class QFontMetrics;

// Messages as the player sees them: a modal box with a single OK button, no
// icon and the program's title.
class MessageBoxSink : public MessageSink {
public:
    void show(const QString& text) override;

    // The text as the box shows it: broken into lines between words only.
    static QString wholeWordLines(const QString& text, const QFontMetrics& metrics);
};
