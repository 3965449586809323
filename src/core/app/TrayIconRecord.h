#pragma once

#include <QByteArray>
#include <QString>

// What the notification area is told about our icon. It is filled once when
// the main window has loaded; afterwards only the tip changes.
struct TrayIconRecord {
    static constexpr int tipField = 64; // 63 characters and a terminating zero
    static constexpr int identifier = 1;
    // Mouse actions on the icon, as the main window decodes them.
    static constexpr int leftButtonUp = 514;
    static constexpr int leftDoubleClick = 515;
    static constexpr int rightButtonUp = 517;

    // Keeps at most 63 characters, ends them with a zero and pads the field
    // with spaces.
    void setTip(const QString& text);
    QString tip() const; // the text before the zero

    QByteArray tipBytes = QByteArray(tipField, ' ');
};
