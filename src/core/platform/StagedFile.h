#pragma once

#include "core/platform/FileIdentity.h"
#include "core/platform/NativeFile.h"

#include <QSet>
#include <QString>

// The new content of a file, written beside it under a temporary name and
// forced to disk, waiting to be moved over it. Locked from its creation to
// its move, so that no clean-up of leftovers takes it while it lives.
// Destroyed before its move, it removes itself.
class StagedFile {
public:
    // Creates the temporary in the destination's folder with the given
    // permission bits; failures name the destination.
    StagedFile(const QString& destination, int permissions);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    StagedFile(StagedFile&&) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;

    // Writes the whole of the source file and forces it to disk.
    void write(const QString& source);
    void write(NativeFile& source);
    void writeBytes(const QByteArray& bytes);
    // Moves the finished file over its destination and closes it; the
    // folder is not synced yet.
    void putInPlace();

    const QString& path() const { return m_path; }
    FileIdentity identity() const { return m_file.identity(); }

    // Temporary files carry this prefix and suffix.
    static bool isTemporaryName(const QString& fileName);

private:
    static NativeFile createIn(const QString& folder, int permissions, QString& path);

    QString m_destination;
    QString m_path;
    NativeFile m_file;
    bool m_placed = false;
};

// Temporaries a killed copy left, which nobody locks any more, are removed
// from a folder once, before the first copy into it.
class LeftoverSweep {
public:
    void sweepOnce(const QString& folder);

private:
    QSet<QString> m_swept;
};
