#pragma once

#include "core/settings/SettingsRecord.h"

#include <QString>

#include <functional>

class ErrorReport;
class FileCopier;
class MessageSink;

// What the program's commands share: the settings record with the mods path
// derived from it, the loading flag, and the services every command calls on
// (the report, the message box, the copier and the settings save).
class SharedState {
public:
    using RowWriter = std::function<void(const SettingsRecord&)>;
    SharedState(const ErrorReport& report, MessageSink& sink, FileCopier& copier,
                RowWriter writeRow);

    SettingsRecord settings;

    // True until the main window's load has run to its end; a failed load
    // leaves it so for the rest of the run.
    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    // The record as loaded, or a new install directory: the only two places
    // the mods path is derived.
    void setRecord(const SettingsRecord& record);
    void setInstallPath(const QString& path);
    const QString& modsPath() const { return m_modsPath; }

    // Writes the whole record as the table's one row. No trap of its own:
    // a failure reaches the calling command's report.
    void msaveset();
    // A settings file that did not load may not be written over with values
    // it never gave; every later save then fails with this number.
    void refuseSavesAfterLoadFailure(int failureNumber);

    const ErrorReport& report;
    MessageSink& sink;
    FileCopier& copier;

private:
    RowWriter m_writeRow;
    QString m_modsPath;
    bool m_loading = true;
    int m_saveRefusal = 0;
};
