#pragma once

#include "core/settings/SettingsRecord.h"

#include <QDir>
#include <QTemporaryDir>

#include <optional>

// A temporary working folder, made current: the program's "cons", a "gtdb.inf" and a game folder.
class TestFolder {
public:
    TestFolder();
    ~TestFolder() { QDir::setCurrent(m_previousCurrent); }

    QString path() const { return m_dir.path(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    QString game() const { return file(QStringLiteral("game")); }
    QString databaseFile() const { return file(QStringLiteral("gtdb.inf")); }

    // The settings file with one row; a missing value is stored as null.
    struct Row {
        std::optional<QString> status = QStringLiteral("Pure"), rtr = QStringLiteral("no"),
                               sw = QStringLiteral("no"), cr = QStringLiteral("1"),
                               rt = QStringLiteral("1"), secure = QStringLiteral("No"),
                               path = std::nullopt;
    };
    void writeSettings(const QList<Row>& rows) const;
    void writeSettings(const Row& row) const { writeSettings(QList<Row>{row}); }
    Row gameRow() const { return {.path = QDir::toNativeSeparators(game())}; } // to its game
    QList<SettingsRecord> storedRows() const;

private:
    QTemporaryDir m_dir;
    QString m_previousCurrent;
};
