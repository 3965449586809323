#pragma once

#include <QMap>
#include <QStringList>

#include <functional>

struct sqlite3;

// Small probes the tests share.
namespace Checks {
// The number of the Failure the action throws, or 0 when it succeeds.
int failureOf(const std::function<void()>& action);
QByteArray bytesOf(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes); // its folder made first
// The rows the SQL returns, on a read-write connection of its own (so an
// interrupted save is rolled back first, as the program's would); none when
// it fails.
QList<QStringList> rows(const QString& databaseFile, const QByteArray& sql, bool* ok = nullptr);
void exec(const QString& databaseFile, const char* sql); // SQL that must succeed
// Another program's exclusive transaction on the settings file, while it lives.
class SettingsLock {
public:
    explicit SettingsLock(const QString& databaseFile);
    ~SettingsLock();
    SettingsLock(const SettingsLock&) = delete;
    SettingsLock& operator=(const SettingsLock&) = delete;

private:
    sqlite3* m_db = nullptr;
};
bool integrityOk(const QString& databaseFile);
// What a player or another program may put where a file is read: a "pipe"
// (an open that waits would hang on it), a link to "/dev/zero" (a read that
// does not stop at a size would never end) or a "folder".
void plant(const QString& kind, const QString& path);
// Each pack's init.con in the game (bf1942, xpack1, xpack2) as the name of
// the delivered cons file it holds: "unbf", "purex1"...; "" for none.
QStringList installedModes(const QString& game);
// Every file below the folder, hidden ones included, by its path there.
QMap<QString, QByteArray> filesIn(const QString& folder);
// A game-files.journal as the program writes one: the body, a line break,
// its SHA-256 in hex and a line break.
QByteArray journalOf(const QByteArray& body);
// The temporary files of the copier in the folder.
QStringList copierTemporariesIn(const QString& folder);
// The sentence a failure shows below its first line, written out here so
// that a changed word is seen: the place, or what stands for it when the
// failure names none, and the advice after a colon.
QString sentence(int number, const QString& place = {}, const QString& advice = {});
// The error report's first line, "We have a problem, ...", then the sentence.
QString report(const QString& tag, int number, const QString& place = {},
               const QString& advice = {});
} // namespace Checks
