#include "core/gamefiles/GameFiles.h"

#include "core/common/Failure.h"
#include "core/platform/GameProcess.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

constexpr int ownerMayWrite = 0200;

const QString modsAdvice =
    QStringLiteral("choose Battlefield 1942's install directory under \"Setup\"");

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// The mods folder in its spelling on disk; a missing one is a wrong install
// directory.
QString resolveMods(const QString& modsPath)
{
    try {
        return PathResolver::folder(modsPath);
    } catch (const Failure& failure) {
        throw failure.withAdvice(modsAdvice);
    }
}

QString folderPart(const QString& file)
{
    return file.section(QLatin1Char('/'), 0, -2);
}

QString namePart(const QString& file)
{
    return file.section(QLatin1Char('/'), -1);
}

// Whether the file starts with the placeholder's words; false for no file.
bool isPlaceholder(const QString& path)
{
    std::optional<NativeFile> file = NativeFile::openIfPresent(path);
    if (!file)
        return false;
    const QByteArray marker = GameFiles::placeholderMarker();
    QByteArray start(marker.size(), '\0');
    return file->read(start.data(), start.size()) == start.size() && start == marker;
}

// A folder below the resolved mods folder; a missing one fails with the
// advice for it.
QString folderBelow(const QString& mods, const QString& folder, const QString& advice)
{
    try {
        return PathResolver::folderBelow(mods, folder);
    } catch (const Failure& failure) {
        throw failure.withAdvice(advice);
    }
}

bool sameContent(const QString& one, const QString& other)
{
    std::optional<NativeFile> a = NativeFile::openIfPresent(one);
    std::optional<NativeFile> b = NativeFile::openIfPresent(other);
    if (!a || !b || a->size() != b->size())
        return false;
    constexpr qint64 chunk = 1 << 16;
    QByteArray left(chunk, '\0');
    QByteArray right(chunk, '\0');
    for (;;) {
        const qint64 got = a->read(left.data(), chunk);
        if (got != b->read(right.data(), chunk))
            return false;
        if (got == 0)
            return true;
        if (QByteArrayView(left).first(got) != QByteArrayView(right).first(got))
            return false;
    }
}

} // namespace

GameFiles::GameFiles(const QString& workingFolder)
    : m_journal(QDir(workingFolder).filePath(QStringLiteral("game-files.journal"))),
      m_kept(workingFolder)
{
}

void GameFiles::refuseWhileTheGameRuns()
{
    if (const std::optional<QString> game = GameProcess::running())
        throw Failure(FailureNumber::GameRunning, *game);
}

GameUpdate GameFiles::stage(const QList<GameFileCopy>& copies, const Deciding& deciding)
{
    return update(checkedSteps(copies), deciding);
}

void GameFiles::stageInto(GameUpdate& update, const QList<GameFileCopy>& copies,
                          const Deciding& deciding)
{
    const QList<GameUpdate::Step> steps = checkedSteps(copies);
    if (!update.isJournaled())
        update = GameUpdate(m_journal, m_sweep);
    for (const GameUpdate::Step& step : steps)
        update.put(step, deciding);
}

QList<GameUpdate::Step> GameFiles::checkedSteps(const QList<GameFileCopy>& copies)
{
    refuseWhileTheGameRuns();
    const QList<Planned> planned = plan(copies);
    refusePlaceholders(planned);
    keepOriginals(planned);
    QList<GameUpdate::Step> steps;
    for (const Planned& file : planned)
        steps.append({file.source, file.destination, file.target});
    return steps;
}

QList<GameFiles::Planned> GameFiles::plan(const QList<GameFileCopy>& copies) const
{
    // Everything is looked at before anything is written. The mods folder
    // is found once, whatever the number of copies.
    QHash<QString, QString> modsFolders;
    const auto modsOf = [&modsFolders](const GameFileCopy& copy) {
        if (!modsFolders.contains(copy.modsPath))
            modsFolders.insert(copy.modsPath, resolveMods(copy.modsPath));
        return modsFolders.value(copy.modsPath);
    };
    QList<Planned> planned;
    for (const GameFileCopy& copy : copies) {
        if (!copy.requiredFolder.isEmpty())
            folderBelow(modsOf(copy), copy.requiredFolder, copy.requiredAdvice);
        const QString source = PathResolver::existingFile(copy.source);
        const QString mods = modsOf(copy);
        const QString folder = folderBelow(mods, folderPart(copy.file), copy.folderAdvice);
        NativeFileSystem::Status target;
        const QString destination = PathResolver::entryIn(folder, namePart(copy.file), &target);
        using Kind = NativeFileSystem::Kind;
        if (target.kind != Kind::None && target.kind != Kind::File)
            throw Failure(FailureNumber::WrongKind, shown(destination));
        // A read-only game file is refused as Windows would refuse it, also
        // for a user (root) whom the system would let write anyway.
        if (target.kind == Kind::File && !(target.permissions & ownerMayWrite))
            throw Failure(FailureNumber::PermissionDenied, shown(destination));
        planned.append({mods, copy.file, source, destination, target});
    }
    return planned;
}

void GameFiles::refusePlaceholders(const QList<Planned>& planned)
{
    // A game without the archive yet (the demo game) may have a
    // placeholder; a real archive is never replaced by one.
    QStringList realHomes;
    for (const Planned& file : planned) {
        if (file.file.endsWith(QStringLiteral(".rfa")) && isPlaceholder(file.source)
            && file.target.kind != NativeFileSystem::Kind::None && !isPlaceholder(file.destination))
            realHomes << shown(QFileInfo(file.source).absolutePath() + QLatin1Char('/'));
    }
    if (!realHomes.isEmpty())
        throw Failure(FailureNumber::PlaceholderArchive, realHomes.join(QStringLiteral(" and ")));
}

void GameFiles::keepOriginals(const QList<Planned>& planned)
{
    for (const Planned& file : planned)
        m_kept.keepBefore(file.modsFolder, file.file, file.destination);
    m_kept.sync();
}

GameUpdate GameFiles::update(const QList<GameUpdate::Step>& steps, const Deciding& deciding)
{
    if (steps.isEmpty())
        return {};
    const bool journaled = !deciding.isEmpty() || steps.size() > 1;
    return GameUpdate(steps, journaled ? &m_journal : nullptr, m_sweep, deciding);
}

void GameFiles::finishInterrupted(const StoredValue& stored)
{
    if (m_journalClear)
        return;
    const std::optional<UpdateJournal::Content> journal = m_journal.read();
    if (journal) {
        bool complete = true;
        for (const DecidingSetting& setting : journal->deciding)
            complete = complete && stored(setting.field) == setting.value;
        for (const UpdateJournal::Entry& entry : journal->entries)
            complete = complete && GameUpdate::isDone(entry);
        if (complete)
            GameUpdate::removeBackups(journal->entries);
        else
            GameUpdate::putBack(journal->entries);
    }
    m_journal.clear();
    m_journalClear = true;
}

GameFiles::Restoring GameFiles::restoreOriginals(const Deciding& deciding)
{
    const QList<KeptOriginals::Game> games = m_kept.games();
    if (games.isEmpty())
        return {};
    refuseWhileTheGameRuns();
    QList<RestoredGame> restored;
    QList<GameUpdate::Step> steps;
    for (const KeptOriginals::Game& game : games) {
        RestoredGame& outcome = restored.emplaceBack(RestoredGame{game.modsFolder, {}});
        const QString mods = PathResolver::folder(game.modsFolder);
        for (const KeptOriginals::Kept& kept : game.files) {
            QString folder;
            try {
                folder = PathResolver::folderBelow(mods, folderPart(kept.file));
            } catch (const Failure&) {
                if (kept.copy)
                    throw;
                // Nothing can have been added to a folder that is gone.
                outcome.files.append({kept.file, Restored::AlreadyOwn});
                continue;
            }
            NativeFileSystem::Status target;
            const QString destination = PathResolver::entryIn(folder, namePart(kept.file), &target);
            const bool present = target.kind != NativeFileSystem::Kind::None;
            Restored how = Restored::AlreadyOwn;
            if (!kept.copy && present)
                how = Restored::Removed;
            else if (kept.copy && present && sameContent(*kept.copy, destination))
                how = Restored::AlreadyOwn;
            else if (kept.copy && present && isPlaceholder(*kept.copy)
                     && !isPlaceholder(destination))
                how = Restored::RealArchiveLeft;
            else if (kept.copy)
                how = Restored::PutBack;
            if (how == Restored::PutBack || how == Restored::Removed)
                steps.append({kept.copy.value_or(QString()), destination, target});
            outcome.files.append({kept.file, how});
        }
    }
    Restoring restoring{update(steps, deciding), restored};
    restoring.update.runAfterCommit([this, games] {
        for (const KeptOriginals::Game& game : games)
            m_kept.forget(game);
    });
    return restoring;
}
