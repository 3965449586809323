#include "BareSettingsFile.h"

#include <sqlite3.h>

BareSettingsFile::BareSettingsFile(const QString& fileName)
    : m_connection(fileName), m_insert(prepare("INSERT INTO Options SELECT * FROM Options")),
      m_delete(prepare("DELETE FROM Options WHERE rowid <> last_insert_rowid()"))
{
}

BareSettingsFile::~BareSettingsFile()
{
    for (sqlite3_stmt* statement : {m_insert, m_delete})
        sqlite3_finalize(statement);
}

sqlite3_stmt* BareSettingsFile::prepare(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    const int rc = sqlite3_prepare_v2(m_connection.handle(), sql, -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        SqliteConnection::fail(m_connection.handle(), rc);
    return statement;
}

void BareSettingsFile::replaceRow()
{
    m_connection.exec(QStringLiteral("BEGIN IMMEDIATE"));
    step(m_insert);
    step(m_delete);
    m_connection.exec(QStringLiteral("COMMIT"));
}

void BareSettingsFile::step(sqlite3_stmt* statement)
{
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE)
        SqliteConnection::fail(m_connection.handle(), rc);
}
