#include "core/gamefiles/UpdateJournal.h"

#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/StagedFile.h"

#include <QCryptographicHash>
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
    return {{QStringLiteral("destination"), entry.destination},
            {QStringLiteral("temporary"), entry.temporary},
            {QStringLiteral("staged"), identityText(entry.staged)},
            {QStringLiteral("backup"), entry.backup}};
}

UpdateJournal::Entry entryFrom(const QJsonObject& object)
{
    return {object.value(QStringLiteral("destination")).toString(),
            object.value(QStringLiteral("temporary")).toString(),
            identityFrom(object.value(QStringLiteral("staged")).toString()),
            object.value(QStringLiteral("backup")).toString()};
}

} // namespace

void UpdateJournal::write(const Content& content)
{
    QJsonArray entries;
    for (const Entry& entry : content.entries)
        entries.append(toJson(entry));
    QJsonObject object{{QStringLiteral("entries"), entries}};
    if (content.deciding) {
        object.insert(QStringLiteral("field"), content.deciding->field);
        object.insert(QStringLiteral("value"), content.deciding->value);
    }
    const QByteArray body = QJsonDocument(object).toJson(QJsonDocument::Compact);
    const QByteArray bytes = body + '\n' + checksum(body) + '\n';

    std::optional<NativeFile> existing = NativeFile::openForWriting(m_path);
    if (existing) {
        existing->truncate();
        existing->writeAll(bytes.constData(), bytes.size());
        existing->syncData();
        existing->close();
        return;
    }
    StagedFile created(m_path, 0644);
    created.writeBytes(bytes);
    created.putInPlace();
    NativeFileSystem::syncFolder(QFileInfo(m_path).absolutePath());
}

std::optional<UpdateJournal::Content> UpdateJournal::read() const
{
    std::optional<NativeFile> file = NativeFile::openIfPresent(m_path);
    if (!file || file->size() == 0 || file->size() > largestJournal)
        return std::nullopt;
    QByteArray bytes(file->size(), '\0');
    if (file->read(bytes.data(), bytes.size()) != bytes.size())
        return std::nullopt;
    const QList<QByteArray> lines = bytes.split('\n');
    if (lines.size() != 3 || checksum(lines[0]) != lines[1])
        return std::nullopt;
    const QJsonObject object = QJsonDocument::fromJson(lines[0]).object();
    Content content;
    if (object.contains(QStringLiteral("field")))
        content.deciding = DecidingSetting{object.value(QStringLiteral("field")).toString(),
                                           object.value(QStringLiteral("value")).toString()};
    for (const QJsonValue& value : object.value(QStringLiteral("entries")).toArray()) {
        const Entry entry = entryFrom(value.toObject());
        // A journal names only our own files beside the game's: nothing
        // else is ever renamed or removed by what it says.
        if (!isSound(entry))
            return std::nullopt;
        content.entries.append(entry);
    }
    return content;
}

void UpdateJournal::clear()
{
    if (std::optional<NativeFile> file = NativeFile::openForWriting(m_path))
        file->truncate();
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
    return QFileInfo(entry.destination).isAbsolute() && besideIt(entry.temporary, true)
           && besideIt(entry.backup, false);
}
