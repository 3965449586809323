#pragma once

#include <QString>

// A read-only view of a test folder, mounted for the life of the object.
// Mounting needs root; when it fails, mounted() is false and the caller skips.
class ReadOnlyMount {
public:
    ReadOnlyMount(const QString& of, const QString& at);
    ~ReadOnlyMount();
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;

    bool mounted() const { return m_mounted; }
    static const char* skipReason() { return "needs to mount file systems (run as root)"; }

private:
    QByteArray m_at;
    bool m_mounted = false;
};
