#pragma once

#include "core/mode/ModeFiles.h"

#include <functional>

class ModeView;
class SharedState;

// Switching the game between pure and Grimtide mode, and the two mode
// option buttons of the main window.
class ModeSwitch {
public:
    ModeSwitch(SharedState& state, ModeView& view) : m_state(state), m_view(view) {}

    void msetp();
    void msetu();
    void option1Click();
    void option2Click();

private:
    void switchTo(GameMode mode);
    void installModeFiles(GameMode mode, const std::function<void()>& bringIntoLine);
    void optionClick(GameMode mode);

    SharedState& m_state;
    ModeView& m_view;
};
