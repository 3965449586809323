#pragma once

#include <QString>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// One prepared statement, finalized when it goes out of scope. Every SQLite
// failure is thrown as the matching Failure.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void bind(int index, const QString& text);
    bool step(); // true while a row is available
    void run();  // steps a statement that returns no rows

    // The column as text; numbers are given in their text form, null is
    // nullopt, and a blob cannot be read as text (failure 13).
    std::optional<QString> text(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};
