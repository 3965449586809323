#pragma once

// Whether the desktop shows tray icons at this moment. Asked without Qt's
// own check, because Qt settles on its first check, for the whole run,
// whether an icon talks to a StatusNotifierItem host: asked before the panel
// is up, a panel that comes later would never get the icon.
class TrayHost {
public:
    static bool present();
    // A StatusNotifierItem host (KDE, Xfce, GNOME's AppIndicator extension)
    // shows an icon's menu itself when the icon hands it one.
    static bool hasStatusNotifierHost();
};
