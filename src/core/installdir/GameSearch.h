#pragma once

#include "core/common/PoolTask.h"
#include "core/installdir/GameFinder.h"
#include "core/installdir/MountedVolumes.h"
#include "core/installdir/WinePrefixes.h"

#include <QList>
#include <QObject>

#include <optional>

// The search for this user's games, on a thread of Qt's pool, so that no
// window waits for a large home or a slow disk. Its result comes back
// through the event loop of the thread that started it (see PoolTask), and
// the search is bounded as the finder is.
class GameSearch : public QObject {
    Q_OBJECT
public:
    struct Found {
        QList<MountedVolumes::Volume> volumes;
        QList<WinePrefixes::Prefix> prefixes;
        QList<GameFinder::Game> games;
    };

    // Starts at once.
    explicit GameSearch(QObject* parent = nullptr);
    ~GameSearch() override;

    bool isDone() const { return m_found.has_value(); }
    // Only once done.
    const Found& found() const { return *m_found; }

signals:
    void done();

private:
    static Found search();
    void finish(const Found& found);

    PoolTask m_task{this};
    std::optional<Found> m_found;
};
