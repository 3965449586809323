#include "core/settings/SqliteConnection.h"

#include "core/common/Failure.h"
#include "core/platform/SqliteFiles.h"
#include "core/settings/SqliteStatement.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

SqliteConnection::SqliteConnection(const QString& fileName, int lockWaitMs)
{
    const QFileInfo info(fileName);
    if (!info.exists())
        throw Failure(FailureNumber::DatabaseMissing);
    if (!info.isFile())
        throw Failure(FailureNumber::NotADatabase);

    // Opening writes nothing, with one exception we allow on purpose: a
    // "gtdb.inf-journal" beside the file is what a save cut short by a crash
    // or power cut leaves, and the first read rolls it back, which puts the
    // player's last complete save back in place. Refusing to start instead
    // would leave the player with no settings at all. A journal that is not a
    // valid one is discarded by SQLite without touching "gtdb.inf".
    SqliteFiles::openWithoutWaiting();
    SqliteFiles::takeRefused();
    const int rc =
        sqlite3_open_v2(fileName.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(m_db);
        fail(nullptr, rc);
    }
    sqlite3_busy_timeout(m_db, lockWaitMs);
    sqlite3_extended_result_codes(m_db, 0);
    try {
        // A damaged file is caught here, at open, rather than half-way
        // through a later save.
        SqliteStatement check(m_db, QStringLiteral("PRAGMA quick_check"));
        if (!check.step() || check.text(0) != QStringLiteral("ok"))
            throw Failure(FailureNumber::NotADatabase);
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

SqliteConnection::~SqliteConnection()
{
    sqlite3_close(m_db);
}

void SqliteConnection::setLockWait(int milliseconds)
{
    sqlite3_busy_timeout(m_db, milliseconds);
}

void SqliteConnection::exec(const QString& sql)
{
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(m_db, rc);
}

int SqliteConnection::failureNumber(int sqliteCode)
{
    switch (sqliteCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FailureNumber::DatabaseLocked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return FailureNumber::PermissionDenied;
    case SQLITE_FULL:
        return FailureNumber::DiskFull;
    case SQLITE_CANTOPEN:
        return FailureNumber::DatabaseMissing;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return FailureNumber::NotADatabase;
    case SQLITE_MISMATCH:
    case SQLITE_CONSTRAINT:
        return FailureNumber::TypeMismatch;
    default:
        return FailureNumber::DeviceIo;
    }
}

void SqliteConnection::fail(sqlite3* db, int sqliteCode)
{
    // Something other than a file at the journal's name, say, is named as it is.
    if (const QString refused = SqliteFiles::takeRefused(); !refused.isEmpty())
        throw Failure(FailureNumber::WrongKind, QDir::toNativeSeparators(refused));
    // "no such table" and "no such column" come back as a plain SQLITE_ERROR;
    // their message tells them apart.
    if ((sqliteCode & 0xff) == SQLITE_ERROR && db) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        if (message.startsWith(QStringLiteral("no such table")))
            throw Failure(FailureNumber::TableMissing);
        if (message.contains(QStringLiteral("no such column"))
            || message.contains(QStringLiteral("has no column")))
            throw Failure(FailureNumber::FieldMissing);
        if (message.contains(QStringLiteral("file is not a database")))
            throw Failure(FailureNumber::NotADatabase);
    }
    throw Failure(failureNumber(sqliteCode));
}
