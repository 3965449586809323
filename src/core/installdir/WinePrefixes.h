#pragma once

#include <QList>
#include <QString>

// The Wine prefixes a player keeps in the usual places: Wine's own ~/.wine,
// Lutris' ~/Games/<game> and Proton's Steam compatdata/<app>/pfx. A game
// run under Wine is installed below one of their drive_c folders.
class WinePrefixes {
public:
    struct DriveC {
        QString root;  // the drive_c folder, native form
        QString label; // "C: (~/.wine)", "C: (~/Games/bf1942)", "C: (Steam 1234)"
    };

    // Those under the home folder that have a drive_c, in the order above,
    // each group sorted by name.
    static QList<DriveC> find(const QString& home);
};
