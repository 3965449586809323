#pragma once

#include <QByteArray>
#include <QStringList>

// Steam keeps games in libraries: its own folder and any the player added,
// listed in steamapps/libraryfolders.vdf.
class SteamLibraries {
public:
    // The existing libraries of the given Steam installs, each once (an
    // install reached through a link too), installs first.
    static QStringList of(const QStringList& installs);

    // The library folders a libraryfolders.vdf names: the "path" of each
    // entry, or, in the older form, the value of each numbered entry.
    // Whatever cannot be read as such names nothing.
    static QStringList pathsIn(const QByteArray& vdf);
};
