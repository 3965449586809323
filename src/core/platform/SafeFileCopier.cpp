#include "core/platform/SafeFileCopier.h"

#include "core/common/Failure.h"
#include "core/platform/PathResolver.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <memory>

namespace {
const QString temporaryPrefix = QStringLiteral(".grimtide-switch-");
const QString temporarySuffix = QStringLiteral(".part");
constexpr qint64 chunkSize = 1 << 20;
} // namespace

bool SafeFileCopier::isTemporaryName(const QString& fileName)
{
    return fileName.startsWith(temporaryPrefix) && fileName.endsWith(temporarySuffix);
}

void SafeFileCopier::copy(const QString& source, const QString& destination)
{
    const QString from = PathResolver::existingFile(source);
    const QString to = PathResolver::fileToWrite(destination);
    const QFileInfo target(to);
    // A read-only game file is refused as Windows would refuse it, also for a
    // user (root) whom the system would let write anyway.
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
        throw Failure(FailureNumber::PermissionDenied);

    const QString folder = target.absolutePath();
    removeLeftovers(folder);
    const QString temporary = newTemporaryPath(folder);
    try {
        writeCopy(from, temporary, NativeFileSystem::permissionsFor(to));
        NativeFileSystem::replace(temporary, to);
    } catch (const Failure&) {
        NativeFileSystem::removeQuietly(temporary);
        throw;
    }
    NativeFileSystem::syncFolder(folder);
}

void SafeFileCopier::removeLeftovers(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList({temporaryPrefix + QLatin1Char('*') + temporarySuffix},
                                            QDir::Files | QDir::Hidden);
    for (const QString& name : names)
        NativeFileSystem::removeQuietly(dir.filePath(name));
}

QString SafeFileCopier::newTemporaryPath(const QString& folder)
{
    const QString unique = QString::number(QRandomGenerator::global()->generate64(), 36);
    return QDir(folder).filePath(temporaryPrefix + unique + temporarySuffix);
}

void SafeFileCopier::writeCopy(const QString& source, const QString& temporary, int permissions)
{
    NativeFile in = NativeFile::openForReading(source);
    NativeFile out = NativeFile::createNew(temporary, permissions);
    const auto buffer = std::make_unique<char[]>(chunkSize);
    for (;;) {
        const qint64 got = in.read(buffer.get(), chunkSize);
        if (got == 0)
            break;
        out.writeAll(buffer.get(), got);
    }
    out.syncData();
    out.close();
}
