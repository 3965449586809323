#include "core/installdir/GameSearch.h"

#include <QThreadPool>

#include <mutex>

// What the searching thread and the object share: whether the object still
// takes the result. The object's end waits for a result being handed over,
// and its pending delivery dies with it.
struct GameSearch::Handoff {
    std::mutex mutex;
    GameSearch* receiver = nullptr;
};

GameSearch::GameSearch(QObject* parent) : QObject(parent), m_handoff(std::make_shared<Handoff>())
{
    m_handoff->receiver = this;
    QThreadPool::globalInstance()->start([handoff = m_handoff] {
        const Found found = search();
        const std::lock_guard lock(handoff->mutex);
        if (GameSearch* receiver = handoff->receiver) {
            QMetaObject::invokeMethod(
                receiver, [receiver, found] { receiver->finish(found); }, Qt::QueuedConnection);
        }
    });
}

GameSearch::~GameSearch()
{
    const std::lock_guard lock(m_handoff->mutex);
    m_handoff->receiver = nullptr;
}

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
