#pragma once

#include <QString>

#include <optional>

// A file descriptor of the operating system, closed when it goes out of
// scope. It exists so that a failed write or sync is seen with its cause
// (a full disk is not an I/O error), which higher-level file classes hide.
class NativeFile {
public:
    static NativeFile openForReading(const QString& path);
    // Creates a new file that must not exist yet and holds an advisory lock
    // on it until it is closed, which tells other programs it is being
    // written. Empty when another program took the new file before the lock
    // (a clean-up of leftovers removing it); the caller tries another name.
    static std::optional<NativeFile> createLocked(const QString& path, int permissions);
    // Removes a file unless a live writer holds its lock.
    static void removeUnlocked(const QString& path);

    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&&) = delete;
    ~NativeFile();

    qint64 read(char* buffer, qint64 size);
    void writeAll(const char* data, qint64 size);
    // Forces the written data to the disk; a failure here is a failure of
    // the whole write.
    void syncData();
    void close();
    // Puts this finished file, found at ownPath, in place of destination and
    // closes it, keeping it locked until it is there.
    void moveOver(const QString& ownPath, const QString& destination);

    // The failure number that an operating-system error code stands for.
    static int failureNumber(int errorCode);

private:
    explicit NativeFile(int descriptor) : m_descriptor(descriptor) {}
    int m_descriptor;
};
