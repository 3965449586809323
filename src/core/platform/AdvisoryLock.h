#pragma once

#include <QByteArray>

// Advisory locks on open files. The kernel drops one when its holder dies,
// so a lock is never stale and no file content has to be trusted.
namespace AdvisoryLock {
// Takes the exclusive lock, or returns false at once when another holds it.
bool tryLock(int descriptor);
// True while the path still names the open file: a file removed or replaced
// between our open and our lock guards nothing any more.
bool stillNamed(const QByteArray& path, int descriptor);
} // namespace AdvisoryLock
