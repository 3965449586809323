#include "core/app/SharedState.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/settings/SettingsValues.h"

#include <QDir>

SharedState::SharedState(const ErrorReport& report, MessageSink& sink, GameFileWriter& gameFiles,
                         QString settingsFile)
    : report(report), sink(sink), m_gameFiles(gameFiles), m_settingsFile(std::move(settingsFile))
{
}

void SharedState::setInstallPath(const QString& path)
{
    settings.path = path;
    m_modsPath = GamePaths::modsPath(path);
}

void SharedState::openSettingsStore()
{
    m_store.emplace(m_settingsFile, m_lockWaitMs);
}

void SharedState::closeSettingsStore()
{
    m_store.reset();
}

SettingsStore& SharedState::settingsStore()
{
    if (!m_store)
        openSettingsStore();
    return *m_store;
}

void SharedState::failWithSettingsFile(const Failure& failure) const
{
    // The settings file's own failures name it where the player finds it.
    throw failure.at(
        QDir::toNativeSeparators(QDir(QDir::currentPath()).absoluteFilePath(m_settingsFile)));
}

bool SharedState::loadSettings()
{
    SettingsStore::Loaded loaded;
    try {
        loaded = settingsStore().load();
    } catch (const Failure& failure) {
        // An empty table has nothing to lose; the first save gives it its row.
        if (failure.number() != FailureNumber::NoCurrentRecord)
            m_saveRefusal = failure;
        failWithSettingsFile(failure);
    }
    settings = loaded.record;
    m_modsPath = GamePaths::modsPath(settings.path);
    try {
        finishInterruptedUpdate();
    } catch (const Failure&) {
        // The game's folder may be out of reach for now; the next install
        // finishes the update first, and fails with the reason if it can't.
    }
    return loaded.hadEmptyField;
}

void SharedState::msaveset()
{
    try {
        if (m_saveRefusal)
            throw *m_saveRefusal;
        settingsStore().save(settings);
    } catch (const Failure& failure) {
        failWithSettingsFile(failure);
    }
}

void SharedState::installGameFiles(const QList<GameFileCopy>& copies,
                                   const std::optional<DecidingSetting>& deciding,
                                   const std::function<void()>& settle)
{
    finishInterruptedUpdate();
    m_gameFiles.install(copies, deciding, settle);
}

void SharedState::finishInterruptedUpdate()
{
    // The settings file's copy is the record as loaded or last saved: a
    // command that changes a deciding field saves it or puts it back.
    m_gameFiles.finishInterrupted(
        [this](const QString& field) { return SettingsValues::valueOf(settings, field); });
}
