#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

class SqliteConnection;

// An updatable view of the whole table "Options", rows in the order they were
// appended. It offers the few operations the load and the save are written in.
class RecordSet {
public:
    explicit RecordSet(SqliteConnection& connection);

    void requery();
    void moveFirst();
    void moveLast();
    int recordCount() const { return int(m_rowIds.size()); }

    // The named field of the current row; nullopt when it holds no value.
    std::optional<QString> field(const QString& name) const;

    void addNew();
    void setField(const QString& name, const QString& value);
    void update();
    void deleteCurrent();

private:
    qint64 currentRowId() const;
    void requireColumns() const;

    SqliteConnection& m_connection;
    QList<qint64> m_rowIds;
    int m_current = -1;
    QList<QPair<QString, QString>> m_newRow;
    bool m_adding = false;
};
