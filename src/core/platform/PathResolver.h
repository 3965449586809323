#pragma once

#include <QString>

// The game is a Windows game and its folders are often spelt "Mods" or
// "BF1942" on disk. Where the exact name does not exist, each name of a path
// is matched without regard to case, as Windows would.
class PathResolver {
public:
    // An existing folder, each name resolved; 76 when one is missing.
    static QString folder(const QString& path);
    // The same below a folder known to exist, whose own names are taken as
    // they are: only the relative path's names are looked up.
    static QString folderBelow(const QString& base, const QString& relative);
    // An existing file to read: 76 for a missing folder, 53 for a missing
    // file, 75 for a folder where the file should be.
    static QString existingFile(const QString& path);
    // A file to write: its folder must exist (76); an existing file keeps its
    // own spelling; a folder in its place is 75.
    static QString fileToWrite(const QString& path);

private:
    static QString entryIn(const QString& folder, const QString& name);
    static void splitLast(const QString& path, QString& folder, QString& name);
};
