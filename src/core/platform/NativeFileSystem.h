#pragma once

#include "core/platform/FileIdentity.h"

#include <QByteArrayView>
#include <QString>

#include <optional>

// The few file-system calls that differ between operating systems. Failures
// name the path they concern.
class NativeFileSystem {
public:
    // Puts the finished file in place of the destination in one step.
    static void replace(const QString& finished, const QString& destination);
    // A second name for an existing file, in its folder. False where the file
    // system has no such names (FAT, some network file systems).
    static bool addName(const QString& existing, const QString& newName);
    // Makes the renames and removals in the folder survive a power cut.
    static void syncFolder(const QString& folder);
    // Removes a file; a file that is already gone is no failure.
    static void remove(const QString& path);
    static void removeQuietly(const QString& path);
    // Makes the folder; one that exists already is no failure.
    static void makeFolder(const QString& path);
    // What a path names, links followed, in one look; Link only from entryKind().
    enum class Kind { None, Folder, File, Other, Link };
    struct Status {
        Kind kind = Kind::None;
        int permissions = 0;
    };
    static Status status(const QString& path);
    // What the name itself is, a link not followed.
    static Kind entryKind(const QString& path);
    // What the name itself leads to (a link is not followed), or nothing
    // when nothing is there.
    static std::optional<FileIdentity> identity(const QString& path);
    // The permission bits of an existing file, or the default for a new one.
    static int permissionsFor(const QString& path);
    // How the system compares names: CaseSensitive where "Game" and "game"
    // are two files.
    static Qt::CaseSensitivity nameCase();
    // Whether a path with its links resolved lies in a folder of the
    // system's own devices and processes (/proc, /sys, /dev), where no game
    // is and where reading may never end.
    static bool isSystemFolder(const QString& canonicalPath);
    // Whether a file system mounted at the root, of the type the system
    // names, may hold a player's games: none of the kernel's own, nor one
    // mounted in the system's own folders.
    static bool mayHoldGames(const QString& root, QByteArrayView fileSystemType);
};
