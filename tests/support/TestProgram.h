#pragma once

#include "gui/app/Module1.h"
#include "support/FakeTray.h"
#include "support/RecordingCopier.h"
#include "support/RecordingSink.h"

#include <functional>

class Form2;
class Form4;
class TestFolder;

// The program as main() puts it together, with stand-ins for the message
// box, the tray and the end of the process.
class TestProgram {
public:
    explicit TestProgram(const TestFolder& folder);

    RecordingSink sink;
    FakeTray tray;
    RecordingCopier copier;
    int ends = 0;
    Module1 module;

    // Shows "Loading" and returns once the start-up tick has run.
    void start();
    Form2& main() { return module.form2(); }
    // Runs the action once the install directory chooser is on the screen.
    void whenChooserShows(std::function<void(Form4&)> action);
};
