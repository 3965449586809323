#include "core/gamefiles/GameUpdate.h"

#include "core/common/Failure.h"
#include "core/platform/GameProcess.h"
#include "core/platform/NativeFileSystem.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>

#include <utility>

namespace {

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
}

} // namespace

GameUpdate::GameUpdate(const QList<Step>& steps, UpdateJournal* journal, LeftoverSweep& sweep,
                       const Deciding& deciding)
    : m_journal(journal), m_sweep(&sweep)
{
    std::vector<std::optional<StagedFile>> staged(size_t(steps.size()));
    for (qsizetype i = 0; i < steps.size(); ++i)
        m_entries.append(stage(steps[i], staged[size_t(i)]));
    if (m_journal)
        m_journal->write({deciding, m_entries});
    m_open = true;
    try {
        for (qsizetype i = 0; i < m_entries.size(); ++i)
            renameIn(i, staged[size_t(i)]);
        syncFolders(m_entries);
    } catch (const Failure&) {
        undo();
        throw;
    }
}

GameUpdate::GameUpdate(GameUpdate&& other) noexcept
    : m_journal(other.m_journal), m_sweep(other.m_sweep),
      m_entries(std::exchange(other.m_entries, {})),
      m_afterCommit(std::exchange(other.m_afterCommit, {})),
      m_open(std::exchange(other.m_open, false))
{
}

GameUpdate& GameUpdate::operator=(GameUpdate&& other) noexcept
{
    if (this != &other) {
        undo();
        m_journal = other.m_journal;
        m_sweep = other.m_sweep;
        m_entries = std::exchange(other.m_entries, {});
        m_afterCommit = std::exchange(other.m_afterCommit, {});
        m_open = std::exchange(other.m_open, false);
    }
    return *this;
}

GameUpdate::~GameUpdate()
{
    undo();
}

UpdateJournal::Entry GameUpdate::stage(const Step& step, std::optional<StagedFile>& staged)
{
    m_sweep->sweepOnce(folderOf(step.destination));
    UpdateJournal::Entry entry{step.destination, {}, {}, {}};
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
    return entry;
}

void GameUpdate::renameIn(qsizetype index, std::optional<StagedFile>& staged)
{
    const UpdateJournal::Entry& entry = m_entries[index];
    // A file system without second names moves the file aside instead; for
    // that moment the journal knows where it is.
    if (!entry.backup.isEmpty() && !NativeFileSystem::addName(entry.destination, entry.backup))
        NativeFileSystem::replace(entry.destination, entry.backup);
    if (staged)
        staged->putInPlace();
    else
        NativeFileSystem::remove(entry.destination);
}

void GameUpdate::put(const Step& step, const Deciding& deciding)
{
    const auto same = [&step](const UpdateJournal::Entry& entry) {
        return entry.destination == step.destination;
    };
    const qsizetype index =
        std::find_if(m_entries.cbegin(), m_entries.cend(), same) - m_entries.cbegin();
    const bool again = index < m_entries.size();
    std::optional<StagedFile> staged;
    UpdateJournal::Entry entry =
        stage(again ? Step{step.source, step.destination, {}} : step, staged);
    if (again) {
        // The file before the update keeps its second name; what a pick put
        // in place since is named in the journal, so that it can be taken out.
        entry.backup = m_entries[index].backup;
        entry.earlier = m_entries[index].earlier;
        if (!m_entries[index].temporary.isEmpty())
            entry.earlier.append(m_entries[index].staged);
    }
    QList<UpdateJournal::Entry> entries = m_entries;
    if (again)
        entries[index] = entry;
    else
        entries.append(entry);
    m_journal->replace({deciding, entries});
    m_entries = entries;
    m_open = true;
    if (again) {
        staged->putInPlace();
    } else {
        renameIn(index, staged);
    }
    NativeFileSystem::syncFolder(folderOf(step.destination));
}

void GameUpdate::commit()
{
    if (std::exchange(m_open, false)) {
        try {
            removeBackups(m_entries);
            if (m_journal)
                m_journal->clear();
        } catch (const Failure&) {
            // Left for the next start, which finds the update complete.
        }
    }
    if (const std::function<void()> follow = std::exchange(m_afterCommit, {}))
        follow();
}

void GameUpdate::undo()
{
    if (!std::exchange(m_open, false))
        return;
    // Nothing is written while the game runs: the journal stays, and the next
    // start or switch after the game puts the files back.
    if (m_journal && GameProcess::running()) {
        m_journal->leaveForLater();
        return;
    }
    try {
        putBack(m_entries);
        if (m_journal)
            m_journal->clear();
    } catch (const Failure&) {
        // The journal stays, and the next start puts back what is left.
    }
}

bool GameUpdate::isDone(const UpdateJournal::Entry& entry)
{
    const std::optional<FileIdentity> now = NativeFileSystem::identity(entry.destination);
    return entry.temporary.isEmpty() ? !now : now == entry.staged;
}

void GameUpdate::putBack(const QList<UpdateJournal::Entry>& entries)
{
    for (auto entry = entries.crbegin(); entry != entries.crend(); ++entry)
        putBack(*entry);
    syncFolders(entries);
}

void GameUpdate::putBack(const UpdateJournal::Entry& entry)
{
    if (!entry.temporary.isEmpty())
        NativeFileSystem::removeQuietly(entry.temporary);
    const std::optional<FileIdentity> now = NativeFileSystem::identity(entry.destination);
    const std::optional<FileIdentity> kept =
        entry.backup.isEmpty() ? std::nullopt : NativeFileSystem::identity(entry.backup);
    if (kept && now == kept) {
        NativeFileSystem::remove(entry.backup); // a second name of the file still in place
    } else if (kept) {
        NativeFileSystem::replace(entry.backup, entry.destination);
    } else if (entry.backup.isEmpty() && !entry.temporary.isEmpty() && now
               && (now == entry.staged || entry.earlier.contains(*now))) {
        NativeFileSystem::remove(entry.destination); // the game had none
    }
}

void GameUpdate::removeBackups(const QList<UpdateJournal::Entry>& entries)
{
    for (const UpdateJournal::Entry& entry : entries) {
        if (!entry.backup.isEmpty())
            NativeFileSystem::remove(entry.backup);
    }
}

void GameUpdate::syncFolders(const QList<UpdateJournal::Entry>& entries)
{
    QSet<QString> synced;
    for (const UpdateJournal::Entry& entry : entries) {
        const QString folder = folderOf(entry.destination);
        if (!synced.contains(folder))
            NativeFileSystem::syncFolder(folder);
        synced.insert(folder);
    }
}
