#include "launcher/UserFolder.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <stdexcept>

namespace {

constexpr qint64 chunk = 1 << 20;

[[noreturn]] void fail(const QString& what, const QString& path)
{
    throw std::runtime_error((what + QDir::toNativeSeparators(path)).toStdString());
}

// Whole or not at all: the copy is written under another name and renamed
// into place once complete, so an interrupted copy never leaves a half file
// that later starts would keep.
bool copied(const QString& source, const QString& target)
{
    QFile in(source);
    QSaveFile out(target);
    // Unbuffered, for Qt 6.4's commit misses a write that fails in the
    // buffer's last flush, and puts the file in place short.
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    while (!in.atEnd()) {
        const QByteArray bytes = in.read(chunk);
        if (bytes.isEmpty() || out.write(bytes) != bytes.size())
            return false;
    }
    return out.commit();
}

} // namespace

UserFolder::UserFolder(QString folder, QString delivered)
    : m_folder(std::move(folder)), m_delivered(std::move(delivered))
{
}

QString UserFolder::defaultLocation()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("grimtide-switch"));
}

void UserFolder::prepare() const
{
    const QDir delivered(m_delivered);
    const QString settings = QStringLiteral("gtdb.inf");
    if (!QFileInfo(delivered.filePath(settings)).isFile())
        fail(QStringLiteral("The delivered settings are missing: "), delivered.filePath(settings));
    copyIfMissing(settings);
    QDirIterator cons(delivered.filePath(QStringLiteral("cons")), QDir::Files | QDir::Hidden,
                      QDirIterator::Subdirectories);
    while (cons.hasNext())
        copyIfMissing(delivered.relativeFilePath(cons.next()));
}

void UserFolder::copyIfMissing(const QString& relative) const
{
    const QString target = QDir(m_folder).filePath(relative);
    if (QFileInfo::exists(target))
        return;
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("Cannot create the folder of "), target);
    if (!copied(QDir(m_delivered).filePath(relative), target))
        fail(QStringLiteral("Cannot copy "), target);
    // The rename survives a power cut only once its folder is on the disk.
    try {
        NativeFileSystem::syncFolder(folder);
    } catch (const Failure&) {
        fail(QStringLiteral("Cannot copy "), target);
    }
    // The delivered files belong to the package and may be read-only; the
    // player's copies are the player's to change.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
}
