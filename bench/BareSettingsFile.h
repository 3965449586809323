#pragma once

#include "core/settings/SqliteConnection.h"

struct sqlite3_stmt;

// The least the program's save can cost: its one row replaced (BEGIN
// IMMEDIATE, INSERT, DELETE the other rows, COMMIT) by statements prepared
// once, on a connection opened as the program opens its own, so with the same
// journal and sync settings.
class BareSettingsFile {
public:
    explicit BareSettingsFile(const QString& fileName);
    ~BareSettingsFile();
    BareSettingsFile(const BareSettingsFile&) = delete;
    BareSettingsFile& operator=(const BareSettingsFile&) = delete;

    // Inserts a new row and deletes the other.
    void replaceRow();

private:
    sqlite3_stmt* prepare(const char* sql);
    void step(sqlite3_stmt* statement);

    SqliteConnection m_connection;
    sqlite3_stmt* m_insert;
    sqlite3_stmt* m_delete;
};
