#pragma once

#include "core/common/Failure.h"
#include "core/gamefiles/GameFileWriter.h"
#include "core/settings/SettingsRecord.h"
#include "core/settings/SettingsStore.h"

#include <QString>

#include <optional>

class ErrorReport;
class MessageSink;

// What the program's commands share: the settings record with the mods path
// derived from it, the settings data source it is loaded from and saved to,
// the loading flag, and the services every command calls on (the report, the
// message box and the game's files).
class SharedState {
public:
    SharedState(const ErrorReport& report, MessageSink& sink, GameFileWriter& gameFiles,
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
    // How long a later open and its saves wait for another program's lock.
    void setLockWait(int milliseconds) { m_lockWaitMs = milliseconds; }
    // Reads the row into the record; true when a field held no value and
    // reads as the empty text. A settings file that did not load may not be
    // written over with values it never gave: every later save then fails
    // with the load's failure. Before anything else, a game update that a kill
    // cut short is completed or undone, as the row decides; where that
    // fails, the next install tries again.
    bool loadSettings();
    // Writes the whole record as the table's one row. No trap of its own:
    // a failure reaches the calling command's report.
    void msaveset();

    // Puts the copies into the game all or nothing, then runs settle (see
    // GameFileWriter::install), after finishing an update left over.
    void installGameFiles(const QList<GameFileCopy>& copies,
                          const std::optional<DecidingSetting>& deciding,
                          const std::function<void()>& settle);

    const ErrorReport& report;
    MessageSink& sink;

private:
    SettingsStore& settingsStore();
    // Completes or undoes a game update a kill cut short, as the stored
    // record decides.
    void finishInterruptedUpdate();
    [[noreturn]] void failWithSettingsFile(const Failure& failure) const;

    GameFileWriter& m_gameFiles;
    QString m_settingsFile;
    std::optional<SettingsStore> m_store;
    int m_lockWaitMs = SqliteConnection::defaultLockWaitMs;
    QString m_modsPath;
    bool m_loading = true;
    std::optional<Failure> m_saveRefusal;
};
