#include "support/TestFolder.h"

#include "support/Checks.h"

#include <QDir>
#include <QFile>

#include <filesystem>

using namespace Qt::StringLiterals;

TestFolder::TestFolder() : m_previousCurrent(QDir::currentPath())
{
    std::filesystem::copy(GRIMTIDE_CONS_DIR, file(u"cons"_s).toStdString(),
                          std::filesystem::copy_options::recursive);
    QFile::copy(QStringLiteral(GRIMTIDE_FIXTURE_DB), databaseFile());
    QFile(databaseFile()).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    for (const char* folder : {"bf1942", "xpack1", "xpack2", "gtide_base/archives/bf1942"})
        QDir().mkpath(game() + u"/mods/"_s + QLatin1String(folder));
    QDir::setCurrent(path());
}

void TestFolder::writeSettings(const QList<Row>& rows) const
{
    Checks::writeBytes(databaseFile(), {}); // an empty file is an empty database
    QString sql = QStringLiteral(
        "CREATE TABLE Options (status TEXT, rtr TEXT, sw TEXT, cr TEXT, rt TEXT, secure TEXT, "
        "path TEXT);");
    for (const Row& row : rows) {
        QStringList values;
        for (const auto& value :
             {row.status, row.rtr, row.sw, row.cr, row.rt, row.secure, row.path})
            values << (value ? u'\'' + QString(*value).replace(u'\'', u"''"_s) + u'\'' : u"NULL"_s);
        sql += u"INSERT INTO Options VALUES (%1);"_s.arg(values.join(u','));
    }
    Checks::exec(databaseFile(), sql.toUtf8().constData());
}

QList<SettingsRecord> TestFolder::storedRows() const
{
    QList<SettingsRecord> records;
    for (const QStringList& v :
         Checks::rows(databaseFile(), "SELECT status, rtr, sw, cr, rt, secure, "
                                      "path FROM Options ORDER BY rowid"))
        records.append({v[0], v[1], v[2], v[3], v[4], v[5], v[6]});
    return records;
}
