#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Reads a Wine prefix's registry file (system.reg), a text of
// "[Key\\Path] stamp" lines, each followed by its "name"="value" lines.
// One reader serves many files: its buffer is kept from one to the next.
class WineRegistry {
public:
    // A prefix's system.reg is a few MiB; one far larger is no registry of
    // ours to read.
    static constexpr qint64 largestFile = 32 << 20;
    // Far more than a game's key holds: a registry that repeats the key or
    // pads it with values gives no more than these.
    static constexpr qsizetype mostValues = 64;

    // The keys are paths below the hive ("Software\\X", single backslashes),
    // matched without regard to case.
    explicit WineRegistry(const QStringList& keys);

    // The text values of the keys, key by key, each in the order they stand
    // in the file; each text once, at most mostValues. A file that is
    // missing, unreadable, no regular file or larger than largestFile gives
    // none.
    QStringList textValuesInFile(const QString& file);
    QStringList textValues(QByteArrayView registry) const;

private:
    qsizetype keyAt(QByteArrayView text, qsizetype at) const;

    QList<QByteArray> m_headers; // "[software\\\\x]", as the file spells it, in lower case
    QByteArray m_buffer;
};
