#pragma once

#include <QMap>
#include <QStringList>

#include <functional>
#include <memory>

struct sqlite3;

namespace Checks {
// The number of the Failure the action throws, or 0 when it succeeds.
int failureOf(const std::function<void()>& action);
QByteArray bytesOf(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes); // its folder made first
// On a connection of its own, read-write: an interrupted save is rolled back first.
QList<QStringList> rows(const QString& databaseFile, const QByteArray& sql, bool* ok = nullptr);
void exec(const QString& databaseFile, const char* sql); // SQL that must succeed
// Another program's exclusive transaction on the settings file, while it lives.
struct SettingsLock {
    explicit SettingsLock(const QString& databaseFile);
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> db; // closing rolls the transaction back
};
bool integrityOk(const QString& databaseFile);
void plant(const QString& kind, const QString& path);
// Each pack's init.con in the game as the name of the cons file it holds ("unbf"...), or "".
QStringList installedModes(const QString& game);
// Every file below the folder, hidden ones too, by its path there.
QMap<QString, QByteArray> filesIn(const QString& folder);
// A game-files.journal as the program writes one: the body, then its SHA-256 in hex.
QByteArray journalOf(const QByteArray& body);
QStringList copierTemporariesIn(const QString& folder);
// The sentence a failure shows below its first line, written out so that a changed word shows.
QString sentence(int number, const QString& place = {}, const QString& advice = {});
} // namespace Checks
