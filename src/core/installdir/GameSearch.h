#pragma once

#include "core/installdir/GameFinder.h"
#include "core/installdir/MountedVolumes.h"
#include "core/installdir/WinePrefixes.h"

#include <QFuture>
#include <QList>

// The search for this user's games: the volumes, the Wine prefixes and the
// games in them, bounded as the finder is.
namespace GameSearch {

struct Found {
    QList<MountedVolumes::Volume> volumes;
    QList<WinePrefixes::Prefix> prefixes;
    QList<GameFinder::Game> games;
};

Found run();
// The same on a thread of Qt's pool, so that no window waits for a large
// home or a slow disk.
QFuture<Found> start();

} // namespace GameSearch
