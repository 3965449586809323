#include "core/platform/SafeFileCopier.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFile.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <memory>

namespace {
const QString temporaryPrefix = QStringLiteral(".grimtide-switch-");
const QString temporarySuffix = QStringLiteral(".part");
constexpr qint64 chunkSize = 1 << 20;
constexpr int creationAttempts = 3;
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
    QString temporary;
    try {
        NativeFile out = createTemporary(folder, NativeFileSystem::permissionsFor(to), temporary);
        writeCopy(from, out);
        out.moveOver(temporary, to);
    } catch (const Failure&) {
        if (!temporary.isEmpty())
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
        NativeFile::removeUnlocked(dir.filePath(name));
}

QString SafeFileCopier::newTemporaryPath(const QString& folder)
{
    const QString unique = QString::number(QRandomGenerator::global()->generate64(), 36);
    return QDir(folder).filePath(temporaryPrefix + unique + temporarySuffix);
}

NativeFile SafeFileCopier::createTemporary(const QString& folder, int permissions, QString& path)
{
    // Another program's clean-up may take a new file before we lock it; then
    // another name is as good.
    for (int attempt = 0; attempt < creationAttempts; ++attempt) {
        const QString candidate = newTemporaryPath(folder);
        if (std::optional<NativeFile> file = NativeFile::createLocked(candidate, permissions)) {
            path = candidate;
            return std::move(*file);
        }
    }
    throw Failure(FailureNumber::DeviceIo);
}

void SafeFileCopier::writeCopy(const QString& source, NativeFile& out)
{
    NativeFile in = NativeFile::openForReading(source);
    const auto buffer = std::make_unique<char[]>(chunkSize);
    for (;;) {
        const qint64 got = in.read(buffer.get(), chunkSize);
        if (got == 0)
            break;
        out.writeAll(buffer.get(), got);
    }
    out.syncData();
}
