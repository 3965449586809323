#pragma once

#include <QList>
#include <QString>

// The Wine prefixes a player keeps in the usual places, where a game run
// under Wine, Lutris, Heroic, Bottles, Proton or PlayOnLinux is installed.
class WinePrefixes {
public:
    struct Prefix {
        QString folder; // the prefix, holding drive_c; native form
        QString where;  // how a player knows it: "~/.wine", "Steam 1234"
        QString driveC() const;
    };

    // Those with a drive_c, in this order: ~/.wine, $WINEPREFIX, Lutris'
    // ~/Games/NAME, Heroic, Bottles (native, then Flatpak), Steam's
    // compatdata/APPID/pfx in each library of each Steam install,
    // ~/.local/share/wineprefixes/NAME, PlayOnLinux; each group sorted by
    // name. A prefix reached twice is listed once, first where it is met.
    static QList<Prefix> find(const QString& home, const QString& winePrefixVariable);
    // find() for this user's home and $WINEPREFIX.
    static QList<Prefix> ofUser();
};
