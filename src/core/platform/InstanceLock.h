#pragma once

#include <QString>

// An advisory lock on a file, which the system drops when the process ends,
// however it ends. So the file's content means nothing and a lock is never
// stale: whatever lies at the path (empty, junk, left by a killed copy) is
// either taken or refused at once, never waited on.
class InstanceLock {
public:
    enum class Outcome { Held, HeldByAnother, Unavailable };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Creates the file when it is missing. Unavailable when the path can't
    // hold a lock: an unwritable folder without the file, a link, a folder, a
    // pipe or anything else that is not a plain file.
    Outcome take(const QString& path);
    // Removes the file while still holding it, then lets go.
    void release();

private:
    QString m_path;
    int m_descriptor = -1;
};
