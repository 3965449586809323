#include "core/gamefiles/UpdateJournal.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

namespace {

const QString backupPrefix = QStringLiteral(".grimtide-switch-");
const QString backupSuffix = QStringLiteral(".old");
// Far more than any update of the five files needs.
constexpr qint64 largestJournal = 1 << 20;

QByteArray checksum(const QByteArray& body)
{
    return QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
}

QString identityText(const FileIdentity& identity)
{
    return QStringLiteral("%1:%2").arg(identity.device).arg(identity.inode);
}

FileIdentity identityFrom(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    return parts.size() == 2 ? FileIdentity{parts[0].toULongLong(), parts[1].toULongLong()}
                             : FileIdentity{};
}

QJsonObject toJson(const UpdateJournal::Entry& entry)
{
    QJsonArray earlier;
    for (const FileIdentity& identity : entry.earlier)
        earlier.append(identityText(identity));
    return {{QStringLiteral("destination"), entry.destination},
            {QStringLiteral("temporary"), entry.temporary},
            {QStringLiteral("staged"), identityText(entry.staged)},
            {QStringLiteral("backup"), entry.backup},
            {QStringLiteral("earlier"), earlier}};
}

UpdateJournal::Entry entryFrom(const QJsonObject& object)
{
    UpdateJournal::Entry entry{object.value(QStringLiteral("destination")).toString(),
                               object.value(QStringLiteral("temporary")).toString(),
                               identityFrom(object.value(QStringLiteral("staged")).toString()),
                               object.value(QStringLiteral("backup")).toString()};
    for (const QJsonValue& identity : object.value(QStringLiteral("earlier")).toArray())
        entry.earlier.append(identityFrom(identity.toString()));
    return entry;
}

QJsonArray decidingJson(const Deciding& deciding)
{
    QJsonArray settings;
    for (const DecidingSetting& setting : deciding)
        settings.append(QJsonObject{{QStringLiteral("field"), setting.field},
                                    {QStringLiteral("value"), setting.value}});
    return settings;
}

// A journal of an earlier version names one field and its value.
Deciding decidingFrom(const QJsonObject& object)
{
    if (object.contains(QStringLiteral("field")))
        return {{object.value(QStringLiteral("field")).toString(),
                 object.value(QStringLiteral("value")).toString()}};
    Deciding deciding;
    for (const QJsonValue& value : object.value(QStringLiteral("deciding")).toArray())
        deciding.append({value.toObject().value(QStringLiteral("field")).toString(),
                         value.toObject().value(QStringLiteral("value")).toString()});
    return deciding;
}

} // namespace

QByteArray UpdateJournal::bytesOf(const Content& content)
{
    QJsonArray entries;
    for (const Entry& entry : content.entries)
        entries.append(toJson(entry));
    const QJsonObject object{{QStringLiteral("entries"), entries},
                             {QStringLiteral("deciding"), decidingJson(content.deciding)}};
    const QByteArray body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return body + '\n' + checksum(body) + '\n';
}

void UpdateJournal::write(const Content& content)
{
    m_state = State::InUse;
    const QByteArray bytes = bytesOf(content);
    std::optional<NativeFile> existing = NativeFile::openForWriting(m_path);
    if (!existing) {
        replace(content);
        return;
    }
    existing->truncate();
    existing->writeAll(bytes.constData(), bytes.size());
    existing->syncData();
    existing->close();
}

void UpdateJournal::replace(const Content& content)
{
    m_state = State::InUse;
    StagedFile staged(m_path, 0644);
    staged.writeBytes(bytesOf(content));
    staged.putInPlace();
    NativeFileSystem::syncFolder(QFileInfo(m_path).absolutePath());
}

std::optional<UpdateJournal::Content> UpdateJournal::read()
{
    refuseUnlessPlain(m_path);
    std::optional<NativeFile> file = NativeFile::openUnlinkedIfPresent(m_path);
    if (!file || file->size() == 0) {
        m_state = State::Empty;
        return std::nullopt;
    }
    if (file->size() > largestJournal)
        return std::nullopt;
    QByteArray bytes(file->size(), '\0');
    if (file->read(bytes.data(), bytes.size()) != bytes.size())
        return std::nullopt;
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != 3 || checksum(lines[0]) != lines[1])
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(lines[0]).object();
    Content content;
    content.deciding = decidingFrom(object);
    for (const QJsonValue& value : object.value(QStringLiteral("entries")).toArray()) {
        const Entry entry = entryFrom(value.toObject());
        // Nothing but our own files beside the game's is ever renamed or
        // removed by what it says, and none through a link.
        if (!isSound(entry))
            refuse(entry.destination,
                   QStringLiteral("its temporary or backup is not the program's own, beside it"));
        refuseUnlessPlain(entry.temporary);
        refuseUnlessPlain(entry.backup);
        content.entries.append(entry);
    }
    return content;
}

void UpdateJournal::refuseUnlessPlain(const QString& path)
{
    using Kind = NativeFileSystem::Kind;
    const Kind kind = path.isEmpty() ? Kind::None : NativeFileSystem::entryKind(path);
    if (kind == Kind::Link)
        refuse(path, QStringLiteral("a link, which the program never follows"));
    if (kind != Kind::File && kind != Kind::None)
        refuse(path, QStringLiteral("not a plain file"));
}

void UpdateJournal::clear()
{
    if (std::optional<NativeFile> file = NativeFile::openForWriting(m_path))
        file->truncate();
    m_state = State::Empty;
}

void UpdateJournal::refuse(const QString& place, const QString& why)
{
    NativeFileSystem::replace(m_path, m_path + QStringLiteral(".rejected"));
    m_state = State::Empty;
    throw Failure(FailureNumber::JournalRefused, QDir::toNativeSeparators(place), why);
}

QString UpdateJournal::newBackupName(const QString& destination)
{
    const QString unique = QString::number(QRandomGenerator::global()->generate64(), 36);
    return QFileInfo(destination).absolutePath() + QLatin1Char('/') + backupPrefix + unique
           + backupSuffix;
}

bool UpdateJournal::isSound(const Entry& entry)
{
    const QString folder = QFileInfo(entry.destination).absolutePath();
    const auto besideIt = [&folder](const QString& path, bool temporary) {
        if (path.isEmpty())
            return true;
        const QFileInfo info(path);
        const QString name = info.fileName();
        return info.absolutePath() == folder
               && (temporary ? StagedFile::isTemporaryName(name)
                             : name.startsWith(backupPrefix) && name.endsWith(backupSuffix));
    };
    return besideIt(entry.temporary, true) && besideIt(entry.backup, false);
}
