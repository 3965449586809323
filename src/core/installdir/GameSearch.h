#pragma once

#include "core/installdir/GameFinder.h"
#include "core/installdir/MountedVolumes.h"
#include "core/installdir/WinePrefixes.h"

#include <QList>
#include <QObject>

#include <memory>
#include <optional>

// The search for this user's games, on a thread of Qt's pool, so that no
// window waits for a large home or a slow disk. Its result comes back
// through the event loop of the thread that started it. Dropped before it
// ends, it hands nothing back; the search itself runs to its end, bounded as
// the finder is, and the application's end waits for it (the program's own
// end does not).
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
    struct Handoff;
    static Found search();
    void finish(const Found& found);

    std::shared_ptr<Handoff> m_handoff;
    std::optional<Found> m_found;
};
