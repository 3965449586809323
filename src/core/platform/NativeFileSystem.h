#pragma once

#include <QString>

// The few file-system calls that differ between operating systems.
class NativeFileSystem {
public:
    // Puts the finished file in place of the destination in one step.
    static void replace(const QString& finished, const QString& destination);
    // Makes a rename in the folder survive a power cut.
    static void syncFolder(const QString& folder);
    static void removeQuietly(const QString& path);
    // The permission bits of an existing file, or the default for a new one.
    static int permissionsFor(const QString& path);
    // How the system compares names: CaseSensitive where "Game" and "game"
    // are two files.
    static Qt::CaseSensitivity nameCase();
    // Whether a path with its links resolved lies in a folder of the
    // system's own devices and processes (/proc, /sys, /dev), where no game
    // is and where reading may never end.
    static bool isSystemFolder(const QString& canonicalPath);
};
