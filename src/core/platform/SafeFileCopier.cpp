#include "core/platform/SafeFileCopier.h"

#include "core/common/Failure.h"
#include "core/platform/NativeFileSystem.h"
#include "core/platform/PathResolver.h"

#include <QDir>
#include <QFileInfo>

void SafeFileCopier::copy(const QString& source, const QString& destination)
{
    const QString from = PathResolver::existingFile(source);
    const QString to = PathResolver::fileToWrite(destination);
    const QFileInfo target(to);
    // A read-only game file is refused as Windows would refuse it, also for a
    // user (root) whom the system would let write anyway.
    if (target.exists() && !(target.permissions() & QFileDevice::WriteOwner))
        throw Failure(FailureNumber::PermissionDenied, QDir::toNativeSeparators(to));

    const QString folder = target.absolutePath();
    m_sweep.sweepOnce(folder);
    StagedFile staged(to, NativeFileSystem::permissionsFor(to));
    staged.write(from);
    staged.putInPlace();
    NativeFileSystem::syncFolder(folder);
}
