#pragma once

#include "core/platform/FileIdentity.h"

#include <QString>

#include <memory>
#include <optional>

// An open file of the operating system, closed when it goes out of scope.
// It exists so that a failed write or sync is seen with its cause (a full
// disk is not an I/O error), which higher-level file classes hide. Its
// failures name the file it was opened for, or the place it was told to
// name instead.
class NativeFile {
public:
    // Opens without waiting, so that a pipe or a device put where a file
    // belongs never hangs us, and keeps it only when it is a plain file (75
    // otherwise).
    static NativeFile openForReading(const QString& path);
    // The same, or nothing when there is no file at the path.
    static std::optional<NativeFile> openIfPresent(const QString& path);
    // The same, never through a link (75 for one).
    static std::optional<NativeFile> openUnlinkedIfPresent(const QString& path);
    // Creates a new file that must not exist yet and holds an advisory lock
    // on it until it is closed, which tells other programs it is being
    // written. Empty when another program took the new file before the lock
    // (a clean-up of leftovers removing it); the caller tries another name.
    static std::optional<NativeFile> createLocked(const QString& path, int permissions);
    // Opens an existing plain file for writing, never through a link;
    // nothing when there is no file at the path.
    static std::optional<NativeFile> openForWriting(const QString& path);
    // Removes a file unless a live writer holds its lock.
    static void removeUnlocked(const QString& path);

    NativeFile(NativeFile&& other) noexcept;
    NativeFile& operator=(NativeFile&&) = delete;
    ~NativeFile();

    // Failures from now on name this place (the file the player knows) in
    // place of the file's own path.
    void nameFailuresAfter(const QString& place) { m_place = place; }
    const QString& place() const { return m_place; }

    FileIdentity identity() const;
    qint64 size() const;
    qint64 read(char* buffer, qint64 size);
    void writeAll(const char* data, qint64 size);
    // Copies the rest of the source to this file: in the kernel where it can
    // (copy_file_range, which becomes a reflink on file systems that share
    // blocks), else by reading and writing through a buffer no larger than
    // the file.
    void copyFrom(NativeFile& source);
    // Makes the file empty again.
    void truncate();
    // Forces the written data to the disk; a failure here is a failure of
    // the whole write.
    void syncData();
    void close();

private:
    struct Handle; // the system's own, defined by each system's half
    NativeFile(std::unique_ptr<Handle> handle, QString place);
    static std::optional<NativeFile> openPresent(const QString& path, int flags);
    [[noreturn]] void fail() const;
    bool copyInKernel(NativeFile& source);
    void copyThroughBuffer(NativeFile& source);

    std::unique_ptr<Handle> m_handle;
    QString m_place;
};
