#include "launcher/UserFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const QString& what, const QString& path)
{
    throw std::runtime_error((what + QDir::toNativeSeparators(path)).toStdString());
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

// Copied under a temporary name and then renamed, so that an interrupted
// copy never leaves a half file that later starts would keep.
void UserFolder::copyIfMissing(const QString& relative) const
{
    const QString target = QDir(m_folder).filePath(relative);
    if (QFileInfo::exists(target))
        return;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        fail(QStringLiteral("Cannot create the folder of "), target);
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (!QFile::copy(QDir(m_delivered).filePath(relative), part)
        || !QFile::setPermissions(part, QFile::permissions(part) | QFile::WriteOwner)
        || !QFile::rename(part, target)) {
        QFile::remove(part);
        fail(QStringLiteral("Cannot copy "), target);
    }
}
