#pragma once

#include "gui/widgets/ProgramWindow.h"

#include <QTimer>

// "Loading": the first window, and the one-shot start-up timer whose tick
// loads the main window (see Startup).
class Form1 : public ProgramWindow {
    Q_OBJECT
public:
    Form1();

signals:
    void timer1Tick();

private:
    QTimer Timer1;
};
