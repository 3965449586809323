#pragma once

#include "core/app/Session.h"
#include "core/gamefiles/GameFiles.h"

#include <QDir>

// The session on the working folder's game files, loaded as a start loads it: no windows.
struct StartedSession {
    GameFiles files{QDir::currentPath()};
    Session session{files, QStringLiteral("gtdb.inf")};
    StartedSession() { session.load(); }
};
