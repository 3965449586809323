#pragma once

#include "gui/widgets/ProgramWindow.h"

#include <QTimer>

class Module1;

// "Loading": the first window, and the one-shot start-up timer that loads
// the main window.
class Form1 : public ProgramWindow {
    Q_OBJECT
public:
    explicit Form1(Module1& module);

    QTimer Timer1;

private:
    void timer1Tick();

    Module1& m_module;
};
