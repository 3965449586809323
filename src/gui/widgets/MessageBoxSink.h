#pragma once

#include "core/common/MessageSink.h"

#include <QString>

class QFontMetrics;
class QMessageBox;

// Messages as the player sees them: a modal box with a single OK button (and
// an offer's button beside it), no icon and the program's title.
class MessageBoxSink : public MessageSink {
public:
    void show(const QString& text) override;
    void showWithOffer(const QString& text, const Offer& offer) override;

    // The text as the box shows it: broken into lines between words only.
    static QString wholeWordLines(const QString& text, const QFontMetrics& metrics);

private:
    static void setText(QMessageBox& box, const QString& text);
};
