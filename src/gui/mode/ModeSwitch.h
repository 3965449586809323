#pragma once

#include "core/mode/ModeFiles.h"

class Module1;

// Switching the game between pure and Grimtide mode, and the two mode
// option buttons of the main window.
class ModeSwitch {
public:
    explicit ModeSwitch(Module1& module) : m(module) {}

    void msetp();
    void msetu();
    void option1Click();
    void option2Click();

private:
    void switchTo(GameMode mode);
    void copyModeFiles(GameMode mode);
    void alignControls(GameMode mode);
    void optionClick(GameMode mode);

    Module1& m;
};
