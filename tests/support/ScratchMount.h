#pragma once

#include <QString>

// A file system mounted over a test folder for the life of the object.
// Mounting needs root; when it fails, mounted() is false and the caller skips.
class ScratchMount {
public:
    ScratchMount(const QString& at, int kilobytes);     // a small tmpfs to fill up
    ScratchMount(const QString& of, const QString& at); // a read-only view of another folder
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return m_mounted; }
    static const char* skipReason() { return "needs to mount file systems (run as root)"; }

private:
    QByteArray m_at;
    bool m_mounted = false;
};
