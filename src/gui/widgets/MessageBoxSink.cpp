#include "gui/widgets/MessageBoxSink.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

// About as wide as a message box lets a line grow before it wraps it.
constexpr int lineWidth = 360;

} // namespace

QString MessageBoxSink::wholeWordLines(const QString& text, const QFontMetrics& metrics)
{
    // A line break of the text itself stays one.
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        const qsizetype first = lines.size();
        for (const QString& word : paragraph.split(QLatin1Char(' '))) {
            const QString longer =
                lines.size() == first ? word : lines.last() + QLatin1Char(' ') + word;
            if (lines.size() == first || metrics.horizontalAdvance(longer) > lineWidth)
                lines << word;
            else
                lines.last() = longer;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

void MessageBoxSink::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Grimtide Switch"), QString(),
                    QMessageBox::Ok);
    setText(box, text);
    box.exec();
}

void MessageBoxSink::showWithOffer(const QString& text, const Offer& offer)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Grimtide Switch"), QString(),
                    QMessageBox::Ok);
    setText(box, text);
    const QPushButton* act = box.addButton(offer.caption, QMessageBox::ActionRole);
    box.exec();
    // Acted on once the box is gone, so that what it opens stands alone.
    if (box.clickedButton() == act)
        offer.act();
}

void MessageBoxSink::setText(QMessageBox& box, const QString& text)
{
    box.setTextFormat(Qt::PlainText);
    // The box's own wrapping breaks lines at hyphens too, and an address
    // broken at its hyphen is copied wrongly: the lines are made here, at
    // spaces only, each narrower than the box wraps at.
    box.setText(wholeWordLines(text, box.fontMetrics()));
}
