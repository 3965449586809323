#include "core/gamefiles/GameFiles.h"

#include "core/common/Failure.h"
#include "core/common/GamePaths.h"
#include "core/gamefiles/FileDigest.h"
#include "core/gamefiles/GameFileNames.h"
#include "core/platform/GameProcess.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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
    sweepGameFolders(planned);
    QList<GameUpdate::Step> steps;
    try {
        for (const Planned& file : planned) {
            m_kept.keepBefore(file.modsFolder, file.file, file.destination);
            const QString source = sourceOf(file);
            m_kept.noteWriting(file.modsFolder, file.file, source);
            steps.append({source, file.destination, file.target});
        }
        m_kept.sync();
    } catch (const Failure&) {
        m_kept.drop();
        throw;
    }
    return steps;
}

void GameFiles::sweepGameFolders(const QList<Planned>& planned)
{
    QSet<QString> games;
    for (const Planned& file : planned)
        games.insert(file.modsFolder);
    for (const QString& mods : std::as_const(games)) {
        for (const QString& gameFile : GameFileNames::resolvedIn(mods))
            m_sweep.sweepOnce(QFileInfo(gameFile).absolutePath());
    }
}

QString GameFiles::sourceOf(const Planned& file)
{
    if (!file.keptUnlessOneOf)
        return file.source;
    const std::optional<QString> own = m_kept.ownCopy(file.modsFolder, file.file);
    if (!own)
        return file.source;
    const std::optional<FileDigest> kept = FileDigest::ofPresent(*own);
    for (const QString& delivered : *file.keptUnlessOneOf) {
        if (FileDigest::ofPresent(delivered) == kept)
            return file.source;
    }
    return *own;
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
        planned.append({mods, copy.file, source, destination, target, copy.keptUnlessOneOf});
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

GameUpdate GameFiles::update(const QList<GameUpdate::Step>& steps, const Deciding& deciding)
{
    if (steps.isEmpty())
        return {};
    const bool journaled = !deciding.isEmpty() || steps.size() > 1;
    return GameUpdate(steps, journaled ? &m_journal : nullptr, m_sweep, deciding);
}

void GameFiles::finishInterrupted(const StoredValue& stored)
{
    if (!m_journal.mayHoldUnfinished())
        return;
    if (const std::optional<UpdateJournal::Content> journal = m_journal.read()) {
        refuseForeignEntries(journal->entries, stored(QStringLiteral("path")));
        if (const std::optional<QString> game = GameProcess::running())
            throw Failure(FailureNumber::UpdateWaitsForGame, *game);
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
}

void GameFiles::refuseForeignEntries(const QList<UpdateJournal::Entry>& entries,
                                     const QString& installPath)
{
    // A game out of reach for now keeps the journal for a later look.
    const QString mods = resolveMods(GamePaths::modsPath(installPath));
    const QStringList gameFiles = GameFileNames::resolvedIn(mods);
    for (const UpdateJournal::Entry& entry : entries) {
        if (!QDir::isAbsolutePath(entry.destination)
            || QDir::cleanPath(entry.destination) != entry.destination)
            m_journal.refuse(entry.destination,
                             QStringLiteral("not an absolute path without \".\" or \"..\""));
        if (!gameFiles.contains(GameFileNames::resolvedForm(entry.destination)))
            m_journal.refuse(
                entry.destination,
                QStringLiteral("not one of the five game files in %1").arg(shown(mods)));
    }
}

GameFiles::Restoring GameFiles::restoreOriginals(const QString& modsPath, const Deciding& deciding)
{
    QString mods;
    try {
        mods = PathResolver::folder(modsPath);
    } catch (const Failure&) {
        // No game there: none of its files can have been kept.
    }
    const KeptOriginals::Survey survey = m_kept.survey(mods);
    Restoring restoring;
    for (const KeptOriginals::Other& other : survey.others)
        restoring.report.left.append(
            {other.modsFolder, other.keptIn, !QFileInfo(other.modsFolder).isDir()});
    if (!survey.game)
        return restoring;
    refuseWhileTheGameRuns();
    restoring.report.modsFolder = mods;
    QList<GameUpdate::Step> steps;
    for (const KeptOriginals::Kept& kept : survey.game->files)
        restoring.report.files.append(restoredFile(mods, kept, steps));
    restoring.update = update(steps, deciding);
    restoring.update.runAfterCommit([this, game = *survey.game] { m_kept.forget(game); });
    return restoring;
}

GameFiles::RestoredFile GameFiles::restoredFile(const QString& mods,
                                                const KeptOriginals::Kept& kept,
                                                QList<GameUpdate::Step>& steps)
{
    QString folder;
    try {
        folder = PathResolver::folderBelow(mods, folderPart(kept.file));
    } catch (const Failure&) {
        if (kept.copy)
            throw;
        // Nothing can have been added to a folder that is gone.
        return {kept.file, Restored::AlreadyOwn};
    }
    NativeFileSystem::Status target;
    const QString destination = PathResolver::entryIn(folder, namePart(kept.file), &target);
    const std::optional<FileDigest> now = target.kind == NativeFileSystem::Kind::None
                                              ? std::nullopt
                                              : FileDigest::ofPresent(destination);
    Restored how = Restored::PutBack;
    if (!now)
        how = kept.copy ? Restored::PutBack : Restored::AlreadyOwn;
    else if (now == kept.digest)
        how = Restored::AlreadyOwn;
    else if (!kept.written.contains(now->sha256))
        how = Restored::ChangedSince; // the player's own change wins
    else if (!kept.copy)
        how = Restored::Removed;
    else if (isPlaceholder(*kept.copy) && !isPlaceholder(destination))
        how = Restored::RealArchiveLeft;
    if (how == Restored::PutBack || how == Restored::Removed)
        steps.append({kept.copy.value_or(QString()), destination, target});
    return {kept.file, how};
}
