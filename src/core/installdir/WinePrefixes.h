#pragma once

#include <QList>
#include <QString>

// The Wine prefixes a player keeps in the usual places and those that the
// player's launchers record, where a game run under Wine, Lutris, Heroic,
// Bottles, Proton or PlayOnLinux is installed.
class WinePrefixes {
public:
    // A home can hold any number of folders; these bound what one search
    // looks at, far above what a player has.
    static constexpr qsizetype mostPrefixes = 1000;
    static constexpr qsizetype mostEntriesPerFolder = 10000; // folders or game files listed
    static constexpr qint64 largestGameFile = 1 << 20;       // a launcher's record of a game

    // A launcher's record of a game in a prefix: what that launcher starts it by.
    struct Record {
        enum class Launcher { Lutris, Heroic, Bottles, Steam };
        Launcher launcher;
        QString name;         // Lutris's game slug, Heroic's app name, the bottle's folder
                              // name, Steam's app id
        bool flatpak = false; // kept by the launcher's Flatpak
        QString gameFolder;   // where the record says the game is; may be empty
    };

    struct Prefix {
        QString folder;        // the prefix, holding drive_c; native form
        QString where;         // how a player knows it: "~/.wine", "Steam 1234"
        QString gameFolder;    // where a launcher's record says the game is; may be empty
        QList<Record> records; // every launcher's record naming it, in finding order
        QString driveC() const;
    };

    // Those with a drive_c, in this order: ~/.wine, $WINEPREFIX, Lutris'
    // ~/Games/NAME, those in Lutris's game files, Heroic's, those in
    // Heroic's GamesConfig files, Bottles (native, then Flatpak), Steam's
    // compatdata/APPID/pfx in each library of each Steam install,
    // ~/.local/share/wineprefixes/NAME, PlayOnLinux; each group sorted by
    // name. A prefix reached twice is listed once, first where it is met;
    // none in a folder of the system's own.
    static QList<Prefix> find(const QString& home, const QString& winePrefixVariable);
    // find() for this user's home and $WINEPREFIX.
    static QList<Prefix> ofUser();
};
