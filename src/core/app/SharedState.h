#pragma once

#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsStore.h"

#include <QString>

#include <optional>

class ErrorReport;
class FileCopier;
class MessageSink;

// What the program's commands share: the settings record with the mods path
// derived from it, the settings data source it is loaded from and saved to,
// the loading flag, and the services every command calls on (the report, the
// message box and the copier).
class SharedState {
public:
    SharedState(const ErrorReport& report, MessageSink& sink, FileCopier& copier,
                QString settingsFile);

    SettingsRecord settings;

    // True until the main window's load has run to its end; a failed load
    // leaves it so for the rest of the run.
    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    // A new install directory. This and the load are the only places the
    // mods path is derived.
    void setInstallPath(const QString& path);
    const QString& modsPath() const { return m_modsPath; }

    // The settings file is open from the start-up window's creation to its
    // close; a load or a save while it is closed opens it afresh.
    void openSettingsStore();
    void closeSettingsStore();
    // Reads the row into the record; true when a field held no value and
    // reads as the empty text. A settings file that did not load may not be
    // written over with values it never gave: every later save then fails
    // with the load's number.
    bool loadSettings();
    // Writes the whole record as the table's one row. No trap of its own:
    // a failure reaches the calling command's report.
    void msaveset();

    const ErrorReport& report;
    MessageSink& sink;
    FileCopier& copier;

private:
    SettingsStore& settingsStore();

    QString m_settingsFile;
    std::optional<SettingsStore> m_store;
    QString m_modsPath;
    bool m_loading = true;
    int m_saveRefusal = 0;
};
