#include "support/Checks.h"

#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

int Checks::failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

QByteArray Checks::bytesOf(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void Checks::writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void Checks::exec(const QString& databaseFile, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(databaseFile).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("sqlite: %s", error);
    sqlite3_close(db);
}

bool Checks::integrityOk(const QString& databaseFile)
{
    sqlite3* db = nullptr;
    bool ok = false;
    if (sqlite3_open_v2(QFile::encodeName(databaseFile).constData(), &db, SQLITE_OPEN_READWRITE,
                        nullptr)
        == SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
        ok = check && sqlite3_step(check) == SQLITE_ROW
             && qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok") == 0;
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return ok;
}

QStringList Checks::copierTemporariesIn(const QString& folder)
{
    QStringList found;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        if (SafeFileCopier::isTemporaryName(name))
            found.append(name);
    }
    return found;
}
