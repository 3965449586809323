#pragma once

#include <QString>

struct sqlite3;

// An open SQLite database, closed when it goes out of scope. It never creates
// a missing file: the settings file is the player's, not ours to make.
class SqliteConnection {
public:
    // How long a statement waits for another program's lock before it fails
    // with 3218.
    static constexpr int defaultLockWaitMs = 3000;

    explicit SqliteConnection(const QString& fileName, int lockWaitMs = defaultLockWaitMs);
    ~SqliteConnection();
    SqliteConnection(const SqliteConnection&) = delete;
    SqliteConnection& operator=(const SqliteConnection&) = delete;

    sqlite3* handle() const { return m_db; }
    void setLockWait(int milliseconds);
    void exec(const QString& sql);

    // Maps an SQLite result code to the failure number a report shows.
    static int failureNumber(int sqliteCode);
    [[noreturn]] static void fail(sqlite3* db, int sqliteCode);

private:
    sqlite3* m_db = nullptr;
};
