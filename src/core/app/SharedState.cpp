#include "core/app/SharedState.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"

SharedState::SharedState(const ErrorReport& report, MessageSink& sink, FileCopier& copier,
                         RowWriter writeRow)
    : report(report), sink(sink), copier(copier), m_writeRow(std::move(writeRow))
{
}

void SharedState::setRecord(const SettingsRecord& record)
{
    settings = record;
    m_modsPath = GamePaths::modsPath(settings.path);
}

void SharedState::setInstallPath(const QString& path)
{
    settings.path = path;
    m_modsPath = GamePaths::modsPath(path);
}

void SharedState::msaveset()
{
    if (m_saveRefusal != 0)
        throw Failure(m_saveRefusal);
    m_writeRow(settings);
}

void SharedState::refuseSavesAfterLoadFailure(int failureNumber)
{
    // An empty table has nothing to lose; the first save gives it its row.
    if (failureNumber != FailureNumber::NoCurrentRecord)
        m_saveRefusal = failureNumber;
}
