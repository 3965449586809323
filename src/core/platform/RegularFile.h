#pragma once

#include <QByteArray>
#include <QString>

// Reading a file that a player or another program may have put anything in
// place of. Whatever stands at the path (a named pipe, a socket, a device,
// a folder, a link to any of them) is never waited on: only a regular file
// is read, and only up to a size.
namespace RegularFile {
// Reads the whole file into contents, whose allocation is kept for the next
// read. False, with contents empty, for anything that is not a regular file,
// cannot be read, or holds more than largest bytes.
bool read(const QString& path, qint64 largest, QByteArray& contents);
} // namespace RegularFile
