#include "core/gamefiles/KeptOriginals.h"

#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace {

const QString gameFolderNote = QStringLiteral("game-folder");
const QString absentSuffix = QStringLiteral(".was-absent");

// The five files the program ever replaces, below the mods folder.
const QStringList gameFiles{QStringLiteral("bf1942/init.con"), QStringLiteral("xpack1/init.con"),
                            QStringLiteral("xpack2/init.con"),
                            QStringLiteral("gtide_base/archives/menu.rfa"),
                            QStringLiteral("gtide_base/archives/bf1942/game.rfa")};

bool exists(const QString& path)
{
    return NativeFileSystem::identity(path).has_value();
}

} // namespace

KeptOriginals::KeptOriginals(const QString& workingFolder)
    : m_folder(QDir(workingFolder).filePath(QStringLiteral("kept-game-files")))
{
}

QString KeptOriginals::keptName(const QString& file)
{
    // One folder per game, so its five names are told apart by their folders.
    return QString(file).replace(QLatin1Char('/'), QLatin1Char('-'));
}

QString KeptOriginals::gameFolder(const QString& modsFolder)
{
    if (const auto known = m_gameFolders.constFind(modsFolder); known != m_gameFolders.cend())
        return *known;
    // Every spelling of the game's folder, through links or not, keeps in one place.
    const QString canonical = QFileInfo(modsFolder).canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex();
    const QString folder = m_folder + QLatin1Char('/') + QString::fromLatin1(hash.left(16));
    const QString note = folder + QLatin1Char('/') + gameFolderNote;
    if (!exists(note)) {
        NativeFileSystem::makeFolder(m_folder);
        NativeFileSystem::makeFolder(folder);
        StagedFile staged(note, 0644);
        staged.writeBytes(canonical.toUtf8() + '\n');
        staged.putInPlace();
        m_unsynced << m_folder << folder;
    }
    m_gameFolders.insert(modsFolder, folder);
    return folder;
}

void KeptOriginals::keepBefore(const QString& modsFolder, const QString& file,
                               const QString& destination)
{
    const QString kept = gameFolder(modsFolder) + QLatin1Char('/') + keptName(file);
    if (m_known.contains(kept))
        return;
    if (!exists(kept) && !exists(kept + absentSuffix)) {
        std::optional<NativeFile> own = NativeFile::openIfPresent(destination);
        StagedFile staged(own ? kept : kept + absentSuffix, 0644);
        if (own)
            staged.write(*own);
        staged.putInPlace();
        m_unsynced.insert(QFileInfo(kept).absolutePath());
    }
    m_known.insert(kept);
}

void KeptOriginals::sync()
{
    for (const QString& folder : std::as_const(m_unsynced))
        NativeFileSystem::syncFolder(folder);
    m_unsynced.clear();
}

QList<KeptOriginals::Game> KeptOriginals::games() const
{
    QList<Game> found;
    const QDir store(m_folder);
    for (const QString& name : store.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = store.filePath(name);
        std::optional<NativeFile> note = NativeFile::openIfPresent(folder + u'/' + gameFolderNote);
        if (!note)
            continue;
        QByteArray path(std::min<qint64>(note->size(), 1 << 16), '\0');
        path.truncate(note->read(path.data(), path.size()));
        Game game{QString::fromUtf8(path.trimmed()), folder, {}};
        for (const QString& file : gameFiles) {
            const QString kept = folder + QLatin1Char('/') + keptName(file);
            if (exists(kept))
                game.files.append({file, kept});
            else if (exists(kept + absentSuffix))
                game.files.append({file, std::nullopt});
        }
        found.append(game);
    }
    return found;
}

void KeptOriginals::forget(const Game& game)
{
    QDir(game.keptIn).removeRecursively();
    m_known.clear();
    m_gameFolders.clear();
}
