#pragma once

#include <QString>
#include <QStringList>

// Paths are composed with the platform's own separator, so the game's folders
// are named the same way on every system.
namespace GamePaths {
QString join(const QStringList& names);
// The install directory followed by "mods" and a separator. A root directory
// gives two separators in a row; the copier reads that as one.
QString modsPath(const QString& installPath);
// The path made absolute, with "/" separators and no "." or "..": the one
// form in which two spellings of a folder compare equal.
QString cleanAbsolute(const QString& path);
} // namespace GamePaths
