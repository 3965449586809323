#include "core/settings/RecordSet.h"

#include "core/common/Failure.h"
#include "core/settings/SqliteConnection.h"
#include "core/settings/SqliteStatement.h"

#include <QStringList>

namespace {

const QStringList& settingsFields()
{
    static const QStringList fields{QStringLiteral("status"), QStringLiteral("rtr"),
                                    QStringLiteral("sw"),     QStringLiteral("cr"),
                                    QStringLiteral("rt"),     QStringLiteral("secure"),
                                    QStringLiteral("path")};
    return fields;
}

// Field names go into SQL text, so only the seven known names are accepted.
void requireKnownField(const QString& name)
{
    if (!settingsFields().contains(name))
        throw Failure(FailureNumber::FieldMissing);
}

} // namespace

RecordSet::RecordSet(SqliteConnection& connection) : m_connection(connection)
{
    requireColumns();
    requery();
}

void RecordSet::requireColumns() const
{
    SqliteStatement info(m_connection.handle(), QStringLiteral("PRAGMA table_info(Options)"));
    QStringList columns;
    while (info.step())
        columns.append(info.text(1).value_or(QString()));
    if (columns.isEmpty())
        throw Failure(FailureNumber::TableMissing);
    for (const QString& field : settingsFields()) {
        if (!columns.contains(field))
            throw Failure(FailureNumber::FieldMissing);
    }
}

void RecordSet::requery()
{
    SqliteStatement select(m_connection.handle(),
                           QStringLiteral("SELECT rowid FROM Options ORDER BY rowid"));
    m_rowIds.clear();
    while (select.step())
        m_rowIds.append(select.integer(0));
    m_current = m_rowIds.isEmpty() ? -1 : 0;
}

void RecordSet::moveFirst()
{
    if (m_rowIds.isEmpty())
        throw Failure(FailureNumber::NoCurrentRecord);
    m_current = 0;
}

void RecordSet::moveLast()
{
    if (m_rowIds.isEmpty())
        throw Failure(FailureNumber::NoCurrentRecord);
    m_current = int(m_rowIds.size()) - 1;
}

qint64 RecordSet::currentRowId() const
{
    if (m_current < 0 || m_current >= m_rowIds.size())
        throw Failure(FailureNumber::NoCurrentRecord);
    return m_rowIds.at(m_current);
}

std::optional<QString> RecordSet::field(const QString& name) const
{
    requireKnownField(name);
    SqliteStatement select(m_connection.handle(),
                           QStringLiteral("SELECT \"%1\" FROM Options WHERE rowid = ?").arg(name));
    select.bind(1, currentRowId());
    if (!select.step())
        throw Failure(FailureNumber::NoCurrentRecord);
    return select.text(0);
}

void RecordSet::addNew()
{
    m_newRow.clear();
    m_adding = true;
}

void RecordSet::setField(const QString& name, const QString& value)
{
    requireKnownField(name);
    m_newRow.append({name, value});
}

void RecordSet::update()
{
    if (!m_adding)
        throw Failure(FailureNumber::NoCurrentRecord);
    QStringList names;
    QStringList marks;
    for (const auto& [name, value] : m_newRow) {
        names.append(QStringLiteral("\"%1\"").arg(name));
        marks.append(QStringLiteral("?"));
    }
    SqliteStatement insert(m_connection.handle(),
                           QStringLiteral("INSERT INTO Options (%1) VALUES (%2)")
                               .arg(names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (int i = 0; i < m_newRow.size(); ++i)
        insert.bind(i + 1, m_newRow.at(i).second);
    insert.run();
    m_adding = false;
    m_newRow.clear();
}

void RecordSet::deleteCurrent()
{
    SqliteStatement remove(m_connection.handle(),
                           QStringLiteral("DELETE FROM Options WHERE rowid = ?"));
    remove.bind(1, currentRowId());
    remove.run();
}
