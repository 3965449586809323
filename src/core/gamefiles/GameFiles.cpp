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

void GameFiles::requireFolder(const QString& modsPath, const QString& folder, const QString& advice)
{
    const QString mods = resolveMods(modsPath);
    try {
        PathResolver::folderBelow(mods, folder);
    } catch (const Failure& failure) {
        throw failure.withAdvice(advice);
    }
}

void GameFiles::refuseWhileTheGameRuns()
{
    if (const std::optional<QString> game = GameProcess::running())
        throw Failure(FailureNumber::GameRunning, *game);
}

void GameFiles::install(const QList<GameFileCopy>& copies,
                        const std::optional<DecidingSetting>& deciding,
                        const std::function<void()>& settle)
{
    refuseWhileTheGameRuns();
    const QList<Planned> planned = plan(copies);
    refusePlaceholders(planned);
    keepOriginals(planned);
    QList<GameFileUpdate::Step> steps;
    for (const Planned& file : planned)
        steps.append({file.source, file.destination, file.target});
    update(steps, deciding, settle);
}

QList<GameFiles::Planned> GameFiles::plan(const QList<GameFileCopy>& copies) const
{
    // Everything is looked at before anything is written. The mods folder
    // is found once, whatever the number of copies.
    QHash<QString, QString> modsFolders;
    QList<Planned> planned;
    for (const GameFileCopy& copy : copies) {
        const QString source = PathResolver::existingFile(copy.source);
        if (!modsFolders.contains(copy.modsPath))
            modsFolders.insert(copy.modsPath, resolveMods(copy.modsPath));
        const QString mods = modsFolders.value(copy.modsPath);
        QString folder;
        try {
            folder = PathResolver::folderBelow(mods, folderPart(copy.file));
        } catch (const Failure& failure) {
            throw failure.withAdvice(copy.folderAdvice);
        }
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

void GameFiles::update(const QList<GameFileUpdate::Step>& steps,
                       const std::optional<DecidingSetting>& deciding,
                       const std::function<void()>& settle)
{
    const bool journaled = !steps.isEmpty() && (deciding || steps.size() > 1);
    GameFileUpdate files(steps, journaled ? &m_journal : nullptr, m_sweep);
    files.putInPlace(deciding);
    try {
        if (settle)
            settle();
    } catch (const Failure&) {
        files.undo();
        throw;
    }
    files.finish();
}

void GameFiles::finishInterrupted(const StoredValue& stored)
{
    if (m_journalClear)
        return;
    const std::optional<UpdateJournal::Content> journal = m_journal.read();
    if (journal) {
        bool complete =
            !journal->deciding || stored(journal->deciding->field) == journal->deciding->value;
        for (const UpdateJournal::Entry& entry : journal->entries)
            complete = complete && GameFileUpdate::isDone(entry);
        if (complete)
            GameFileUpdate::removeBackups(journal->entries);
        else
            GameFileUpdate::putBack(journal->entries);
    }
    m_journal.clear();
    m_journalClear = true;
}

QList<GameFiles::RestoredGame> GameFiles::restoreOriginals(const DecidingSetting& deciding,
                                                           const std::function<void()>& settle)
{
    const QList<KeptOriginals::Game> games = m_kept.games();
    if (games.isEmpty())
        return {};
    refuseWhileTheGameRuns();
    QList<RestoredGame> restored;
    QList<GameFileUpdate::Step> steps;
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
    update(steps, deciding, settle);
    for (const KeptOriginals::Game& game : games)
        m_kept.forget(game);
    return restored;
}
