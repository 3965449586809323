#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class NativeFile;

// What a file holds, as the record of the kept files keeps it: its size and
// its SHA-256, which tell the same content from any other.
struct FileDigest {
    qint64 size = 0;
    QByteArray sha256; // in hex

    bool operator==(const FileDigest&) const = default;

    // Reads the file from where it stands to its end.
    static FileDigest of(NativeFile& file);
    // The file at the path, links followed; nothing when there is none.
    static std::optional<FileDigest> ofPresent(const QString& path);
};
