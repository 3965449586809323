#pragma once

#include <QString>

// A file descriptor of the operating system, closed when it goes out of
// scope. It exists so that a failed write or sync is seen with its cause
// (a full disk is not an I/O error), which higher-level file classes hide.
class NativeFile {
public:
    static NativeFile openForReading(const QString& path);
    // Creates a new file that must not exist yet.
    static NativeFile createNew(const QString& path, int permissions);

    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&&) = delete;
    ~NativeFile();

    qint64 read(char* buffer, qint64 size);
    void writeAll(const char* data, qint64 size);
    // Forces the written data to the disk; a failure here is a failure of
    // the whole write.
    void syncData();
    void close();

    // The failure number that an operating-system error code stands for.
    static int failureNumber(int errorCode);

private:
    explicit NativeFile(int descriptor) : m_descriptor(descriptor) {}
    int m_descriptor;
};
