#pragma once

#include "core/platform/NativeFileSystem.h"

#include <QString>

// The game is a Windows game and its folders are often spelt "Mods" or
// "BF1942" on disk. Where the exact name does not exist, each name of a path
// is matched without regard to case, as Windows would. Every failure names
// the path that failed.
class PathResolver {
public:
    // An existing folder, each name resolved; 76 naming the first one missing.
    static QString folder(const QString& path);
    // A folder below one already resolved, so that only the names below it
    // are looked up again.
    static QString folderBelow(const QString& resolved, const QString& relative);
    // An existing file to read: 76 for a missing folder, 53 for a missing
    // file, 75 for a folder where the file should be.
    static QString existingFile(const QString& path);
    // A file to write: its folder must exist (76); an existing file keeps its
    // own spelling; a folder in its place is 75.
    static QString fileToWrite(const QString& path);
    // The name in an existing folder, in the spelling it has on disk, or as
    // given when no entry matches; with what is there, where asked.
    static QString entryIn(const QString& folder, const QString& name,
                           NativeFileSystem::Status* status = nullptr);

private:
    static QString matchIn(const QString& folder, const QString& name);
    static QString walk(QString current, const QStringList& names);
    static void splitLast(const QString& path, QString& folder, QString& name);
};
