#pragma once

#include "core/settings/SqliteConnection.h"

#include <initializer_list>

struct sqlite3_stmt;

// The least a settings write can cost: statements prepared once, run in one
// bare transaction, on a connection opened as the program opens its own, so
// with the same journal and sync settings.
class BareSettingsFile {
public:
    explicit BareSettingsFile(const QString& fileName);
    ~BareSettingsFile();
    BareSettingsFile(const BareSettingsFile&) = delete;
    BareSettingsFile& operator=(const BareSettingsFile&) = delete;

    // Changes the one row.
    void writeOneRow();
    // Inserts a new row and deletes the other.
    void replaceRow();

private:
    sqlite3_stmt* prepare(const char* sql);
    void transaction(std::initializer_list<sqlite3_stmt*> statements);

    SqliteConnection m_connection;
    sqlite3_stmt* m_update;
    sqlite3_stmt* m_insert;
    sqlite3_stmt* m_delete;
};
