#pragma once

class Module1;
class QString;

// The Secure Mode check box: on, it installs the pinned crosshair and
// reticle and turns the chooser into its secure display; off, it installs
// the player's own choices again.
class SecureMode {
public:
    explicit SecureMode(Module1& module) : m(module) {}

    void check4Click();

private:
    void turnOn();
    void turnOff();
    void installArchives(const QString& crosshair, const QString& reticle);

    Module1& m;
};
