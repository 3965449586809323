#include "core/installdir/GameSearch.h"

GameSearch::GameSearch(QObject* parent) : QObject(parent)
{
    m_task.start<Found>(&GameSearch::search, [this](const Found& found) { finish(found); });
}

GameSearch::~GameSearch() = default;

GameSearch::Found GameSearch::search()
{
    Found found;
    found.volumes = MountedVolumes::list();
    found.prefixes = WinePrefixes::ofUser();
    found.games = GameFinder::find(found.prefixes, found.volumes);
    return found;
}

void GameSearch::finish(const Found& found)
{
    m_found = found;
    emit done();
}
