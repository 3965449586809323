#include "core/app/SharedState.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"

SharedState::SharedState(const ErrorReport& report, MessageSink& sink, FileCopier& copier,
                         QString settingsFile)
    : report(report), sink(sink), copier(copier), m_settingsFile(std::move(settingsFile))
{
}

void SharedState::setInstallPath(const QString& path)
{
    settings.path = path;
    m_modsPath = GamePaths::modsPath(path);
}

void SharedState::openSettingsStore()
{
    m_store.emplace(m_settingsFile);
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

bool SharedState::loadSettings()
{
    SettingsStore::Loaded loaded;
    try {
        loaded = settingsStore().load();
    } catch (const Failure& failure) {
        // An empty table has nothing to lose; the first save gives it its row.
        if (failure.number() != FailureNumber::NoCurrentRecord)
            m_saveRefusal = failure.number();
        throw;
    }
    settings = loaded.record;
    m_modsPath = GamePaths::modsPath(settings.path);
    return loaded.hadEmptyField;
}

void SharedState::msaveset()
{
    if (m_saveRefusal != 0)
        throw Failure(m_saveRefusal);
    settingsStore().save(settings);
}
