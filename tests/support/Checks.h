#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Small probes the tests share.
namespace Checks {
// The number of the Failure the action throws, or 0 when it succeeds.
int failureOf(const std::function<void()>& action);
QByteArray bytesOf(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// Runs SQL on the database through a connection of its own.
void exec(const QString& databaseFile, const char* sql);
// PRAGMA integrity_check says "ok", on a connection that may roll back an
// interrupted save as the program's own would.
bool integrityOk(const QString& databaseFile);
// The temporary files of the copier in the folder.
QStringList copierTemporariesIn(const QString& folder);
} // namespace Checks
