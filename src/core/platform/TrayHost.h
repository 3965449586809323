#pragma once

// Whether the desktop shows tray icons at this moment. Asked without Qt's
// own check, because Qt settles on its first check, for the whole run,
// whether an icon talks to a StatusNotifierItem host: asked before the panel
// is up, a panel that comes later would never get the icon.
class TrayHost {
public:
    struct Answer {
        bool present = false;
        // A StatusNotifierItem host (KDE, Xfce, GNOME's AppIndicator
        // extension) shows an icon's menu itself when the icon hands it one.
        bool statusNotifierHost = false;
    };
    // Asks the session bus, each call given a second at most, and the
    // display server through the program's own connection to it, as the
    // window system's native interface hands it over (on X11 an xcb
    // connection; null where there is none, as on Wayland). Its type is each
    // system's own, so it passes here as Qt passes native handles, untyped.
    // A frozen bus keeps it that long: it is asked off the window thread.
    static Answer ask(void* display);
};
