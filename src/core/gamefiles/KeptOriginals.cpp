#include "core/gamefiles/KeptOriginals.h"

#include "core/common/Failure.h"
#include "core/gamefiles/GameFileNames.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

using Kind = NativeFileSystem::Kind;

const QString recordName = QStringLiteral("manifest");
// Far more than the record of five files needs.
constexpr qint64 largestRecord = 1 << 20;

[[noreturn]] void refuse(const QString& place, const QString& why)
{
    throw Failure(FailureNumber::KeptFileRefused, QDir::toNativeSeparators(place), why);
}

[[noreturn]] void refuseAsNotOurs(const QString& record)
{
    refuse(record, QStringLiteral("not a record this program wrote"));
}

void refuseLink(const QString& path, Kind kind)
{
    if (kind == Kind::Link)
        refuse(path, QStringLiteral("a link, which the program never follows"));
}

bool isSha256(const QJsonValue& value)
{
    const QByteArray text = value.toString().toLatin1();
    return text.size() == 64 && QByteArray::fromHex(text).toHex() == text;
}

QJsonValue digestJson(const std::optional<FileDigest>& digest)
{
    if (!digest)
        return QJsonValue::Null;
    return QJsonObject{{QStringLiteral("size"), double(digest->size)},
                       {QStringLiteral("sha256"), QString::fromLatin1(digest->sha256)}};
}

// The digest a record holds, or none for null; false when it is neither.
bool digestFrom(const QJsonValue& value, std::optional<FileDigest>& digest)
{
    if (value.isNull())
        return true;
    const QJsonValue size = value.toObject().value(QStringLiteral("size"));
    const QJsonValue sha256 = value.toObject().value(QStringLiteral("sha256"));
    if (!size.isDouble() || size.toDouble() < 0 || size.toDouble() != double(size.toInteger())
        || !isSha256(sha256))
        return false;
    digest = FileDigest{size.toInteger(), sha256.toString().toLatin1()};
    return true;
}

} // namespace

KeptOriginals::KeptOriginals(const QString& workingFolder)
    : m_folder(QDir(workingFolder).filePath(QStringLiteral("kept-game-files")))
{
}

QString KeptOriginals::setName(const QString& gameFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(gameFolder.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(hash.left(16));
}

QString KeptOriginals::canonicalGameFolder(const QString& modsFolder)
{
    // Every spelling of the game's folder, through links or not, keeps in one place.
    return QFileInfo(modsFolder).canonicalFilePath();
}

QString KeptOriginals::keptPath(const QString& set, const QString& file)
{
    // One folder per game, so its five names are told apart by their folders.
    return set + u'/' + QString(file).replace(u'/', u'-');
}

void KeptOriginals::makeOwnFolder(const QString& path)
{
    const Kind kind = NativeFileSystem::entryKind(path);
    refuseLink(path, kind);
    if (kind == Kind::None) {
        NativeFileSystem::makeFolder(path);
        m_unsynced.insert(QFileInfo(path).absolutePath());
    } else if (kind != Kind::Folder) {
        refuse(path, QStringLiteral("not a folder"));
    }
}

QString KeptOriginals::setFor(const QString& modsFolder)
{
    if (const auto known = m_sets.constFind(modsFolder); known != m_sets.cend())
        return *known;
    const QString gameFolder = canonicalGameFolder(modsFolder);
    const QString set = m_folder + u'/' + setName(gameFolder);
    makeOwnFolder(m_folder);
    makeOwnFolder(set);
    Record& record = recordOf(set);
    if (record.gameFolder.isEmpty()) {
        record.gameFolder = gameFolder;
        m_changed.insert(set);
    }
    m_sets.insert(modsFolder, set);
    return set;
}

KeptOriginals::Record& KeptOriginals::recordOf(const QString& set)
{
    if (!m_records.contains(set))
        m_records.insert(set, readRecord(set).value_or(Record{}));
    return m_records[set];
}

void KeptOriginals::keepBefore(const QString& modsFolder, const QString& file,
                               const QString& destination)
{
    const QString set = setFor(modsFolder);
    Record& record = recordOf(set);
    const std::optional<FileDigest> now = FileDigest::ofPresent(destination);
    if (const auto known = record.files.constFind(file); known != record.files.cend()) {
        if (!now || now == known->kept || known->written.contains(now->sha256))
            return;
    }
    Entry& entry = record.files[file];
    entry.kept.reset();
    if (std::optional<NativeFile> own = NativeFile::openIfPresent(destination)) {
        const QString kept = keptPath(set, file);
        StagedFile staged(kept, 0644);
        staged.write(*own);
        staged.putInPlace();
        m_unsynced.insert(set);
        // What the copy holds, which is what a restore checks it against.
        entry.kept = FileDigest::ofPresent(kept);
    }
    m_changed.insert(set);
}

std::optional<QString> KeptOriginals::ownCopy(const QString& modsFolder, const QString& file)
{
    const QString set = setFor(modsFolder);
    const std::optional<FileDigest> kept = recordOf(set).files.value(file).kept;
    if (!kept)
        return std::nullopt;
    return checkedCopy(set, file, *kept);
}

void KeptOriginals::noteWriting(const QString& modsFolder, const QString& file,
                                const QString& source)
{
    const QString set = setFor(modsFolder);
    const std::optional<FileDigest> digest = FileDigest::ofPresent(source);
    QList<QByteArray>& written = recordOf(set).files[file].written;
    if (digest && !written.contains(digest->sha256)) {
        written.append(digest->sha256);
        m_changed.insert(set);
    }
}

void KeptOriginals::sync()
{
    // The kept files are on disk before the record that names them.
    const auto syncFolders = [this] {
        for (const QString& folder : std::as_const(m_unsynced))
            NativeFileSystem::syncFolder(folder);
        m_unsynced.clear();
    };
    syncFolders();
    for (const QString& set : std::as_const(m_changed)) {
        writeRecord(set, m_records.value(set));
        m_unsynced.insert(set);
    }
    syncFolders();
    drop();
}

void KeptOriginals::drop()
{
    m_sets.clear();
    m_records.clear();
    m_changed.clear();
}

QString KeptOriginals::checkedCopy(const QString& set, const QString& file,
                                   const FileDigest& digest)
{
    const QString path = keptPath(set, file);
    const Kind kind = NativeFileSystem::entryKind(path);
    refuseLink(path, kind);
    if (kind == Kind::None)
        refuse(path, QStringLiteral("missing"));
    if (kind != Kind::File)
        refuse(path, QStringLiteral("not a plain file"));
    std::optional<NativeFile> copy = NativeFile::openUnlinkedIfPresent(path);
    const std::optional<FileDigest> found =
        copy ? std::optional<FileDigest>(FileDigest::of(*copy)) : std::nullopt;
    if (!found || found->size != digest.size)
        refuse(path, QStringLiteral("not the size it was kept with"));
    if (found != digest)
        refuse(path, QStringLiteral("not the content it was kept with"));
    return path;
}

std::optional<KeptOriginals::Record> KeptOriginals::readRecord(const QString& set)
{
    const QString path = set + u'/' + recordName;
    const Kind kind = NativeFileSystem::entryKind(path);
    refuseLink(path, kind);
    if (kind == Kind::None)
        return std::nullopt;
    std::optional<NativeFile> file = NativeFile::openUnlinkedIfPresent(path);
    if (!file || file->size() > largestRecord)
        refuseAsNotOurs(path);
    QByteArray bytes(file->size(), '\0');
    bytes.truncate(file->read(bytes.data(), bytes.size()));
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    Record record{object.value(QStringLiteral("game-folder")).toString(), {}};
    if (record.gameFolder.isEmpty())
        refuseAsNotOurs(path);
    if (setName(record.gameFolder) != QFileInfo(set).fileName())
        refuse(path, QStringLiteral("it names a game folder other than the one the set was kept "
                                    "for"));
    const QJsonObject files = object.value(QStringLiteral("files")).toObject();
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        Entry& entry = record.files[it.key()];
        const QJsonArray written = it->toObject().value(QStringLiteral("written")).toArray();
        if (!GameFileNames::all().contains(it.key())
            || !digestFrom(it->toObject().value(QStringLiteral("kept")), entry.kept)
            || !std::all_of(written.begin(), written.end(), isSha256))
            refuseAsNotOurs(path);
        for (const QJsonValue& sha256 : written)
            entry.written.append(sha256.toString().toLatin1());
    }
    return record;
}

void KeptOriginals::writeRecord(const QString& set, const Record& record)
{
    QJsonObject files;
    for (auto it = record.files.cbegin(); it != record.files.cend(); ++it) {
        QJsonArray written;
        for (const QByteArray& sha256 : it->written)
            written.append(QString::fromLatin1(sha256));
        files.insert(it.key(), QJsonObject{{QStringLiteral("kept"), digestJson(it->kept)},
                                           {QStringLiteral("written"), written}});
    }
    const QJsonObject object{{QStringLiteral("game-folder"), record.gameFolder},
                             {QStringLiteral("files"), files}};
    StagedFile staged(set + u'/' + recordName, 0644);
    staged.writeBytes(QJsonDocument(object).toJson());
    staged.putInPlace();
}

KeptOriginals::Survey KeptOriginals::survey(const QString& modsFolder) const
{
    Survey survey;
    const Kind kind = NativeFileSystem::entryKind(m_folder);
    refuseLink(m_folder, kind);
    if (kind != Kind::Folder)
        return survey;
    const QString own = modsFolder.isEmpty() ? QString() : setName(canonicalGameFolder(modsFolder));
    const QDir store(m_folder);
    for (const QString& name :
         store.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString set = store.filePath(name);
        const Kind setKind = NativeFileSystem::entryKind(set);
        refuseLink(set, setKind);
        if (setKind != Kind::Folder)
            continue; // no set: nothing the program keeps
        const std::optional<Record> record = readRecord(set);
        if (name != own || !record) {
            survey.others.append({record ? record->gameFolder : QString(), set});
            continue;
        }
        Game game{modsFolder, set, {}};
        for (const QString& file : GameFileNames::all()) {
            const auto entry = record->files.constFind(file);
            if (entry == record->files.cend())
                continue;
            game.files.append(
                {file,
                 entry->kept ? std::optional(checkedCopy(set, file, *entry->kept)) : std::nullopt,
                 entry->kept, entry->written});
        }
        survey.game = game;
    }
    return survey;
}

void KeptOriginals::forget(const Game& game)
{
    // Its record first: a set cut short here names no file that is gone.
    // Never through a link put in the set's place since it was checked.
    if (NativeFileSystem::entryKind(game.keptIn) == Kind::Folder) {
        NativeFileSystem::removeQuietly(game.keptIn + u'/' + recordName);
        for (const QString& file : GameFileNames::all())
            NativeFileSystem::removeQuietly(keptPath(game.keptIn, file));
        QDir().rmdir(game.keptIn);
    }
}
