#pragma once

#include "core/settings/SettingsStore.h"
#include "gui/widgets/ProgramWindow.h"

#include <QTimer>

class Module1;

// "Loading": the first window. It carries the settings data source, which
// opens "gtdb.inf" when the window is made, and the one-shot start-up timer.
class Form1 : public ProgramWindow {
    Q_OBJECT
public:
    Form1(Module1& module, const QString& databaseFile, bool startProgram);

    SettingsStore& data1() { return m_data1; }
    QTimer Timer1;

private:
    void timer1Tick();

    Module1& m_module;
    SettingsStore m_data1;
};
