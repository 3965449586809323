#pragma once

#include "core/mode/ModeView.h"

class SharedState;

// The two check boxes that say which expansion packs are installed: RTR in
// the folder "xpack1" and SW in "xpack2".
class ExpansionPacks {
public:
    ExpansionPacks(SharedState& state, ModeView& view) : m_state(state), m_view(view) {}

    void check1Click(bool ticked);
    void check2Click(bool ticked);
    // RTR and SW as the game folder has them: on where "xpack1" and "xpack2"
    // exist below the mods path (in any case), off elsewhere.
    static void followTheGame(SharedState& state);

private:
    void packClick(ExpansionPack pack, bool ticked);

    SharedState& m_state;
    ModeView& m_view;
};
