#include "launcher/UserFolder.h"

#include "core/common/Failure.h"
#include "core/platform/SafeFileCopier.h"

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

// The copier's temporary-and-rename means an interrupted copy never leaves
// a half file that later starts would keep.
void UserFolder::copyIfMissing(const QString& relative) const
{
    const QString target = QDir(m_folder).filePath(relative);
    if (QFileInfo::exists(target))
        return;
    if (!QDir().mkpath(QFileInfo(target).absolutePath()))
        fail(QStringLiteral("Cannot create the folder of "), target);
    try {
        SafeFileCopier().copy(QDir(m_delivered).filePath(relative), target);
    } catch (const Failure&) {
        fail(QStringLiteral("Cannot copy "), target);
    }
    // The delivered files belong to the package and may be read-only; the
    // player's copies are the player's to change.
    QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
}
