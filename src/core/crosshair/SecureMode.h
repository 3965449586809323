#pragma once

class SecureView;
class SharedState;

// The Secure Mode check box: on, it installs the pinned crosshair and
// reticle and turns the chooser into its secure display; off, it installs
// the player's own choices again.
class SecureMode {
public:
    SecureMode(SharedState& state, SecureView& view) : m_state(state), m_view(view) {}

    void check4Click(bool ticked);

private:
    SharedState& m_state;
    SecureView& m_view;
};
