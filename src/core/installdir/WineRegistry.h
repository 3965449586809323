#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads a Wine prefix's registry file (system.reg), a text of
// "[Key\\Path] stamp" lines, each followed by its "name"="value" lines.
class WineRegistry {
public:
    // The text values of the keys (paths below the hive, "Software\\X"
    // with single backslashes), matched without regard to case, key by key,
    // each in the order they stand in the file. A file that is missing, unreadable or
    // larger than any real registry gives none.
    static QStringList textValues(const QString& file, const QStringList& keys);
    static QStringList textValues(const QByteArray& registry, const QStringList& keys);
};
