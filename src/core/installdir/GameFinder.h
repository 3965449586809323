#pragma once

#include "core/installdir/MountedVolumes.h"
#include "core/installdir/WinePrefixes.h"

#include <QList>
#include <QString>

class WineRegistry;

// Finds Battlefield 1942 where a player's installer put it: in each Wine
// prefix, at the folder a launcher recorded, at the folders its registry
// names or at the usual install folders of its drive C:, and at those
// folders on each volume. Reads only; a prefix or volume that cannot be
// read just holds no game, and no folder of the system's own (/proc, /sys,
// /dev) is ever offered.
class GameFinder {
public:
    struct Game {
        QString folder;        // native form
        QString where;         // the prefix's or the volume's name
        QString label() const; // "Battlefield 1942 (~/.wine)"
    };

    // Prefixes first, in their order, then volumes; each game folder once.
    static QList<Game> find(const QList<WinePrefixes::Prefix>& prefixes,
                            const QList<MountedVolumes::Volume>& volumes);

    // A folder holding BF1942.exe or mods/bf1942, in any case.
    static bool isGame(const QString& folder);

    // "C:\Games\.\BF1942\" as "c:/Games/BF1942": the drive letter in lower
    // case, the names between single slashes, "." and ".." taken out. Empty
    // for a text that is no such path or whose ".." would leave its drive.
    static QString windowsPath(const QString& text);

private:
    static QStringList registeredFolders(WineRegistry& registry,
                                         const WinePrefixes::Prefix& prefix);
    static QStringList usualFolders(const QString& root);
    static QString inPrefix(const WinePrefixes::Prefix& prefix, const QString& windowsPath);
};
