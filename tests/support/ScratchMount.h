#pragma once

#include <QString>

// A file system mounted over a test folder for the life of the object: a
// small tmpfs to fill up, or a read-only view of another folder. Mounting
// needs root; when it fails, mounted() is false and the caller skips.
class ScratchMount {
public:
    static ScratchMount smallTmpfs(const QString& at, int kilobytes);
    static ScratchMount readOnlyView(const QString& of, const QString& at);
    ~ScratchMount();
    ScratchMount(ScratchMount&& other) noexcept;
    ScratchMount& operator=(ScratchMount&&) = delete;

    bool mounted() const { return m_mounted; }
    static const char* skipReason() { return "needs to mount file systems (run as root)"; }

private:
    explicit ScratchMount(const QString& at) : m_at(at) {}
    QString m_at;
    bool m_mounted = false;
};
