#include "core/settings/SettingsStore.h"

#include "core/common/Failure.h"
#include "core/settings/SqliteConnection.h"
#include "core/settings/SqliteStatement.h"

#include <QStringList>

#include <array>
#include <utility>

namespace {

// The row's fields, in the order the load reads them; both statements are
// made from this list. Other columns of the table are left alone.
constexpr std::array fields{
    std::pair{"status", &SettingsRecord::status}, std::pair{"rtr", &SettingsRecord::rtr},
    std::pair{"sw", &SettingsRecord::sw},         std::pair{"cr", &SettingsRecord::cr},
    std::pair{"rt", &SettingsRecord::rt},         std::pair{"secure", &SettingsRecord::secure},
    std::pair{"path", &SettingsRecord::path}};

QString fieldList()
{
    QStringList names;
    for (const auto& [name, member] : fields)
        names.append(QString::fromLatin1(name));
    return names.join(QStringLiteral(", "));
}

QString selectFirstRow()
{
    return QStringLiteral("SELECT %1 FROM Options ORDER BY rowid LIMIT 1").arg(fieldList());
}

QString insertRow()
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), fields.size());
    return QStringLiteral("INSERT INTO Options (%1) VALUES (%2)")
        .arg(fieldList(), marks.join(QStringLiteral(", ")));
}

} // namespace

SettingsStore::SettingsStore(const QString& fileName, int lockWaitMs)
{
    try {
        m_connection = std::make_unique<SqliteConnection>(fileName, lockWaitMs);
    } catch (const Failure& failure) {
        m_openFailure = failure;
    }
}

SettingsStore::~SettingsStore() = default;

SqliteConnection& SettingsStore::connection()
{
    if (m_openFailure)
        throw *m_openFailure;
    return *m_connection;
}

void SettingsStore::setLockWait(int milliseconds)
{
    if (m_connection)
        m_connection->setLockWait(milliseconds);
}

SettingsStore::Loaded SettingsStore::load()
{
    SqliteConnection& db = connection();
    SqliteStatement select(db.handle(), selectFirstRow());
    if (!select.step())
        throw Failure(FailureNumber::NoCurrentRecord);
    Loaded loaded;
    for (int column = 0; column < int(fields.size()); ++column) {
        const std::optional<QString> value = select.text(column);
        loaded.record.*fields[column].second = value.value_or(QString());
        loaded.hadEmptyField = loaded.hadEmptyField || !value;
    }
    return loaded;
}

void SettingsStore::save(const SettingsRecord& record)
{
    SqliteConnection& db = connection();
    db.exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // A table without one of the fields refuses the insert (3265).
        SqliteStatement insert(db.handle(), insertRow());
        for (int column = 0; column < int(fields.size()); ++column)
            insert.bind(column + 1, record.*fields[column].second);
        insert.run();
        db.exec(QStringLiteral("DELETE FROM Options WHERE rowid <> last_insert_rowid()"));
        db.exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            db.exec(QStringLiteral("ROLLBACK"));
        } catch (const Failure&) {
            // SQLite already rolled back on its own (a full disk does that).
        }
        throw;
    }
}
