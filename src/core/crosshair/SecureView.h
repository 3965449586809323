#pragma once

// What Secure Mode changes besides the game's archives: the chooser's
// appearance and the main window's pictures.
class SecureView {
public:
    virtual ~SecureView() = default;
    virtual void showSecureAppearance(bool secure) = 0;
    virtual void mimgset() = 0;
};
