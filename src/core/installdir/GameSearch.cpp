#include "core/installdir/GameSearch.h"

#include <QtConcurrent/QtConcurrentRun>

GameSearch::Found GameSearch::run()
{
    Found found;
    found.volumes = MountedVolumes::list();
    found.prefixes = WinePrefixes::ofUser();
    found.games = GameFinder::find(found.prefixes, found.volumes);
    return found;
}

QFuture<GameSearch::Found> GameSearch::start()
{
    return QtConcurrent::run(&GameSearch::run);
}
