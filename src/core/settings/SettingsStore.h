#pragma once

#include "core/common/Failure.h"
#include "core/settings/SettingsRecord.h"
#include "core/settings/SqliteConnection.h"

#include <QString>

#include <memory>
#include <optional>

// The settings data source: "gtdb.inf" opened for reading and writing. A file
// that can't be opened is remembered, and every use of the store fails with
// that failure.
class SettingsStore {
public:
    static QString defaultFileName() { return QStringLiteral("gtdb.inf"); }

    explicit SettingsStore(const QString& fileName = defaultFileName(),
                           int lockWaitMs = SqliteConnection::defaultLockWaitMs);
    ~SettingsStore();

    struct Loaded {
        SettingsRecord record;
        bool hadEmptyField = false; // a field held no value and reads as ""
    };
    // Reads the first row. A field without a value costs no other field: all
    // seven are read, and the caller learns that one was empty.
    Loaded load();

    // Writes the record as the table's only row, all or nothing: afterwards
    // the table holds exactly the new row, or, on failure, what it held before.
    void save(const SettingsRecord& record);
    // How long a save waits for another program's lock from now on.
    void setLockWait(int milliseconds);

private:
    SqliteConnection& connection();

    std::unique_ptr<SqliteConnection> m_connection;
    std::optional<Failure> m_openFailure;
};
