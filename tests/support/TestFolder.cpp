#include "support/TestFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <sqlite3.h>

namespace {

void copyTree(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        qFatal("sqlite: %s", error);
}

} // namespace

TestFolder::TestFolder() : m_previousCurrent(QDir::currentPath())
{
    copyTree(QStringLiteral(GRIMTIDE_CONS_DIR), file(QStringLiteral("cons")));
    QFile::copy(QStringLiteral(GRIMTIDE_FIXTURE_DB), databaseFile());
    QFile(databaseFile()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    makeGameFolders();
    QDir::setCurrent(path());
}

TestFolder::~TestFolder()
{
    QDir::setCurrent(m_previousCurrent);
}

QString TestFolder::file(const QString& relative) const
{
    return m_dir.filePath(relative);
}

void TestFolder::makeGameFolders() const
{
    for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
        QDir().mkpath(game() + QStringLiteral("/mods/") + QLatin1String(folder));
}

TestFolder::Row TestFolder::gameRow() const
{
    Row row;
    row.path = QDir::toNativeSeparators(game());
    return row;
}

void TestFolder::writeSettings(const QList<Row>& rows) const
{
    QFile::remove(databaseFile());
    sqlite3* db = nullptr;
    sqlite3_open(databaseFile().toUtf8().constData(), &db);
    exec(db, "CREATE TABLE Options (status TEXT, rtr TEXT, sw TEXT, cr TEXT, rt TEXT, "
             "secure TEXT, path TEXT)");
    for (const Row& row : rows) {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Options VALUES (?,?,?,?,?,?,?)", -1, &insert, nullptr);
        int index = 1;
        for (const auto& value : {row.status, row.rtr, row.sw, row.cr, row.rt, row.secure, row.path}) {
            if (value)
                sqlite3_bind_text(insert, index, value->toUtf8().constData(), -1, SQLITE_TRANSIENT);
            ++index;
        }
        sqlite3_step(insert);
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);
}

QList<SettingsRecord> TestFolder::storedRows() const
{
    QList<SettingsRecord> rows;
    sqlite3* db = nullptr;
    // Read-write, as the program opens it: an interrupted save is rolled back
    // first, so the rows seen are the ones the program would see.
    sqlite3_open_v2(databaseFile().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT status, rtr, sw, cr, rt, secure, path FROM Options ORDER BY rowid",
                       -1, &select, nullptr);
    while (select && sqlite3_step(select) == SQLITE_ROW) {
        const auto text = [select](int column) {
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(select, column)));
        };
        rows.append({text(0), text(1), text(2), text(3), text(4), text(5), text(6)});
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return rows;
}

QString TestFolder::readFile(const QString& relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}
