#include "gui/app/Form1.h"

#include "gui/widgets/Twips.h"

Form1::Form1()
    : ProgramWindow(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                                 | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Loading"));
    setFixedSize(Twips(*this).size(1155, 285));
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(1);
    // Stopped first: it ticks once, also when its tick fails.
    connect(&Timer1, &QTimer::timeout, this, [this] {
        Timer1.stop();
        emit timer1Tick();
    });
    Timer1.start();
}
