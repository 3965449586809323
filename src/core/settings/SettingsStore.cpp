#include "core/settings/SettingsStore.h"

#include "core/common/Failure.h"
#include "core/settings/RecordSet.h"
#include "core/settings/SqliteConnection.h"

SettingsStore::SettingsStore(const QString& fileName)
{
    try {
        m_connection = std::make_unique<SqliteConnection>(fileName);
    } catch (const Failure& failure) {
        m_openFailure = failure.number();
    }
}

SettingsStore::~SettingsStore() = default;

RecordSet& SettingsStore::recordSet()
{
    if (m_openFailure != 0)
        throw Failure(m_openFailure);
    if (!m_recordSet)
        m_recordSet = std::make_unique<RecordSet>(*m_connection);
    return *m_recordSet;
}

SettingsStore::Loaded SettingsStore::load()
{
    RecordSet& rows = recordSet();
    rows.requery();
    rows.moveFirst();
    Loaded loaded;
    const auto read = [&](const char* name, QString& into) {
        const auto value = rows.field(QString::fromLatin1(name));
        into = value.value_or(QString());
        loaded.hadEmptyField = loaded.hadEmptyField || !value;
    };
    SettingsRecord& r = loaded.record;
    read("status", r.status);
    read("rtr", r.rtr);
    read("sw", r.sw);
    read("cr", r.cr);
    read("rt", r.rt);
    read("secure", r.secure);
    read("path", r.path);
    return loaded;
}

void SettingsStore::save(const SettingsRecord& record)
{
    recordSet();
    m_connection->exec(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        replaceAllRowsWith(record);
        m_connection->exec(QStringLiteral("COMMIT"));
    } catch (...) {
        try {
            m_connection->exec(QStringLiteral("ROLLBACK"));
        } catch (const Failure&) {
            // SQLite already rolled back on its own (a full disk does that).
        }
        throw;
    }
}

void SettingsStore::replaceAllRowsWith(const SettingsRecord& record)
{
    RecordSet& rows = *m_recordSet;
    rows.addNew();
    rows.setField(QStringLiteral("status"), record.status);
    rows.setField(QStringLiteral("sw"), record.sw);
    rows.setField(QStringLiteral("rtr"), record.rtr);
    rows.setField(QStringLiteral("path"), record.path);
    rows.setField(QStringLiteral("cr"), record.cr);
    rows.setField(QStringLiteral("rt"), record.rt);
    rows.setField(QStringLiteral("secure"), record.secure);
    rows.update();
    rows.requery();
    countRows();
    while (rows.recordCount() > 1) {
        rows.moveFirst();
        rows.deleteCurrent();
        rows.requery();
        countRows();
    }
    rows.moveLast();
}

void SettingsStore::countRows()
{
    m_savedRowCount = QString::number(m_recordSet->recordCount());
}
