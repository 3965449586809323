#include "core/installdir/MountedVolumes.h"

#include "core/common/GamePaths.h"
#include "core/platform/NativeFileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace {

using Volume = MountedVolumes::Volume;

bool isPlayerVolume(const QStorageInfo& volume)
{
    const QString root = volume.rootPath();
    // Containers bind single files such as /etc/hosts; those are no volume.
    return volume.isValid() && QFileInfo(root).isDir()
           && NativeFileSystem::mayHoldGames(root, volume.fileSystemType());
}

QList<Volume> sortedOnce(const QList<QStorageInfo>& candidates)
{
    QList<Volume> volumes;
    for (const QStorageInfo& candidate : candidates) {
        const QString root = QDir::toNativeSeparators(candidate.rootPath());
        const bool listed = std::any_of(volumes.begin(), volumes.end(),
                                        [&](const Volume& v) { return v.root == root; });
        if (candidate.isValid() && !listed)
            volumes.append({root, candidate.name()});
    }
    std::sort(volumes.begin(), volumes.end(), [](const Volume& a, const Volume& b) {
        return a.root.compare(b.root, NativeFileSystem::nameCase()) < 0;
    });
    return volumes;
}

} // namespace

qsizetype MountedVolumes::matchLength(const QString& root, const QString& path)
{
    const QString clean = GamePaths::cleanAbsolute(root);
    const Qt::CaseSensitivity pathCase = NativeFileSystem::nameCase();
    if (path.compare(clean, pathCase) == 0)
        return clean.size();
    const QString prefix = clean.endsWith(u'/') ? clean : clean + u'/';
    return path.startsWith(prefix, pathCase) ? clean.size() : -1;
}

QList<MountedVolumes::Volume> MountedVolumes::list()
{
    QList<QStorageInfo> candidates{QStorageInfo::root(), QStorageInfo(QDir::currentPath())};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (isPlayerVolume(volume))
            candidates.append(volume);
    }
    return sortedOnce(candidates);
}

QList<MountedVolumes::Volume> MountedVolumes::rootAndWorkingDirectory()
{
    return sortedOnce({QStorageInfo::root(), QStorageInfo(QDir::currentPath())});
}
