#pragma once

#include "gui/app/Form2.h"
#include "gui/app/Program.h"
#include "support/FakeTray.h"

#include <QTest>

// The program as main() starts it in the working folder, with a stand-in for the tray.
struct RunningProgram {
    FakeTray tray;
    Program program{tray};

    bool start() // true once the main window is up
    {
        return program.start() && QTest::qWaitFor([this] { return tray.shown; }, 30000);
    }
    Form2& main() { return program.module().mainWindow(); }
    template <typename Control> Control* inMain(const char* name)
    {
        return main().findChild<Control*>(QString::fromLatin1(name));
    }
};
