#include "core/gamefiles/GameFileUpdate.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"

#include <QFileInfo>
#include <QSet>

namespace {

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

GameFileUpdate::GameFileUpdate(QList<Step> steps, UpdateJournal* journal, LeftoverSweep& sweep)
    : m_steps(std::move(steps)), m_journal(journal), m_sweep(sweep)
{
}

void GameFileUpdate::putInPlace(const std::optional<DecidingSetting>& deciding)
{
    stage();
    if (m_journal)
        m_journal->write({deciding, m_entries});
    try {
        rename();
        syncFolders(m_entries);
    } catch (const Failure&) {
        undo();
        throw;
    }
}

void GameFileUpdate::stage()
{
    for (const Step& step : std::as_const(m_steps)) {
        m_sweep.sweepOnce(folderOf(step.destination));
        UpdateJournal::Entry entry{step.destination, {}, {}, {}};
        std::optional<StagedFile>& staged = m_staged.emplace_back();
        const bool replaces = step.replaced.kind != NativeFileSystem::Kind::None;
        if (!step.source.isEmpty()) {
            // The new file keeps the permissions of the one it replaces.
            staged.emplace(step.destination, replaces ? step.replaced.permissions : 0644);
            staged->write(step.source);
            entry.temporary = staged->path();
            entry.staged = staged->identity();
        }
        // Without a journal nothing could find the second name after a kill.
        if (m_journal && replaces)
            entry.backup = UpdateJournal::newBackupName(step.destination);
        m_entries.append(entry);
    }
}

void GameFileUpdate::rename()
{
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        const UpdateJournal::Entry& entry = m_entries[i];
        // A file system without second names moves the file aside instead;
        // for that moment the journal knows where it is.
        if (!entry.backup.isEmpty() && !NativeFileSystem::addName(entry.destination, entry.backup))
            NativeFileSystem::replace(entry.destination, entry.backup);
        if (m_staged[size_t(i)])
            m_staged[size_t(i)]->putInPlace();
        else
            NativeFileSystem::remove(entry.destination);
    }
}

void GameFileUpdate::finish()
{
    try {
        removeBackups(m_entries);
        if (m_journal)
            m_journal->clear();
    } catch (const Failure&) {
        // Left for the next start, which finds the update complete.
    }
}

void GameFileUpdate::undo()
{
    try {
        putBack(m_entries);
        if (m_journal)
            m_journal->clear();
    } catch (const Failure&) {
        // The journal stays, and the next start puts back what is left.
    }
}

bool GameFileUpdate::isDone(const UpdateJournal::Entry& entry)
{
    const std::optional<FileIdentity> now = NativeFileSystem::identity(entry.destination);
    return entry.temporary.isEmpty() ? !now : now == entry.staged;
}

void GameFileUpdate::putBack(const QList<UpdateJournal::Entry>& entries)
{
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry) {
        const bool done = isDone(*entry);
        const bool backedUp =
            !entry->backup.isEmpty() && NativeFileSystem::identity(entry->backup).has_value();
        if (!done && !entry->temporary.isEmpty())
            NativeFileSystem::removeQuietly(entry->temporary);
        if (backedUp && !done && NativeFileSystem::identity(entry->destination))
            NativeFileSystem::remove(entry->backup); // a second name of the file still in place
        else if (backedUp)
            NativeFileSystem::replace(entry->backup, entry->destination);
        else if (done && entry->backup.isEmpty() && !entry->temporary.isEmpty())
            NativeFileSystem::remove(entry->destination); // the game had none
    }
    syncFolders(entries);
}

void GameFileUpdate::removeBackups(const QList<UpdateJournal::Entry>& entries)
{
    for (const UpdateJournal::Entry& entry : entries) {
        if (!entry.backup.isEmpty())
            NativeFileSystem::remove(entry.backup);
    }
}

void GameFileUpdate::syncFolders(const QList<UpdateJournal::Entry>& entries)
{
    QSet<QString> synced;
    for (const UpdateJournal::Entry& entry : entries) {
        const QString folder = folderOf(entry.destination);
        if (!synced.contains(folder))
            NativeFileSystem::syncFolder(folder);
        synced.insert(folder);
    }
}
